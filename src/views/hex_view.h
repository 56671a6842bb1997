#pragma once
// The read-only hex-dump window: an edit view over a hex document, one row
// per 16 bytes. It moves the caret but never changes the document and
// never shows a selection; Go to replaces Go to line with Go to offset.

#include "views/edit_view.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class HexDoc;

class HexView : public EditView {
    Q_OBJECT
public:
    explicit HexView(const std::string& fileName, QWidget* parent = nullptr);
    ~HexView() override;

    static const fw::CommandTable& Commands();
    const fw::CommandTable& commandTable() const override { return Commands(); }

    ViewKind Kind() const override { return ViewKind::Hex; }

    HexDoc* Doc() const { return doc_.get(); }

    void CmGoTo();
    // The row an offset typed in the Go to dialog leads to, or nothing when
    // the offset is past the end (FileSize itself is accepted) or the file
    // has no rows. The text is read as hexadecimal digits, up to the first
    // other character.
    std::optional<int> RowOfOffset(const std::string& text, std::uint64_t* offset = nullptr) const;

    void LoadSettings() override;

protected:
    // The dump is never written over the file it shows.
    bool MaySaveAs(const std::string& name) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::unique_ptr<HexDoc> doc_;
};
