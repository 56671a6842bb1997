#include "views/hex_view.h"

#include "framework/frame_services.h"
#include "docs/hex_doc.h"
#include "framework/input_dialog.h"
#include "framework/message_box.h"
#include "resources/command_ids.h"
#include "resources/format_text.h"
#include "resources/strings.h"
#include "settings/profile_snapshot.h"
#include "settings/settings_path.h"

#include <QKeyEvent>
#include <QWindow>

#include <cctype>
#include <cstdlib>

HexView::HexView(const std::string& fileName, QWidget* parent)
    : EditView(parent), doc_(std::make_unique<HexDoc>(fileName))
{
    setObjectName("Hex_View 1.0");
    SetDocument(doc_.get());
    if (!fileName.empty()) LoadWhenFirstShown();
    else MarkLoaded();
    SetTitle();
    LoadSettings();
}

HexView::~HexView() = default;

const fw::CommandTable& HexView::Commands()
{
    static const fw::CommandTable table(&EditView::Commands(), {
        fw::On(cmd::kSearchGoTo, &HexView::CmGoTo),
    });
    return table;
}

void HexView::LoadSettings()
{
    LoadDisplaySettings(profile::Snapshot(SettingsPath()));
    RecomputeMetrics();
}

bool HexView::MaySaveAs(const std::string& name)
{
    if (!doc_->NamesShownFile(name)) return true;
    ShowMessage(strings::kDumpOverShownFile, fw::kMbOk | fw::kMbIconExclamation, name.c_str());
    return false;
}

void HexView::paintEvent(QPaintEvent*)
{
    PaintLines(false);
}

void HexView::keyPressEvent(QKeyEvent* e)
{
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    const bool control = e->modifiers() & Qt::ControlModifier;
    if (e->key() == Qt::Key_Insert && !shift && !control) return ToggleOverwrite();
    if (HandleMovementKey(e->key(), shift, control)) return;
    // Typing never changes the dump.
    EditView::keyPressEvent(e);
}

std::optional<int> HexView::RowOfOffset(const std::string& text, std::uint64_t* offset) const
{
    const std::string number = "0x" + text;
    const std::uint64_t value = std::strtoull(number.c_str(), nullptr, 16);
    if (offset) *offset = value;
    if (value > doc_->FileSize() || doc_->LineCount() < 1) return std::nullopt;
    const std::uint64_t row = value / HexDoc::kRowBytes;
    return int(std::min<std::uint64_t>(row, std::uint64_t(doc_->LineCount() - 1)));
}

void HexView::CmGoTo()
{
    const std::string low = FormatText("%08X", 0u);
    const std::string high = FormatText("%08X", std::uint64_t{doc_->FileSize()});
    const std::string prompt = strings::Format(strings::kGoToOffsetPrompt, low, high);
    // The field offers the caret row's offset, in the digits it is read in.
    const std::string initial = FormatText("%X", static_cast<std::uint64_t>(Caret().line) * HexDoc::kRowBytes);
    const auto answer = InputDialog::Ask(this, tr("Go to Offset"), QString::fromLatin1(prompt),
                                         QString::fromLatin1(initial), 128);
    if (!answer) return;
    std::uint64_t offset = 0;
    const std::optional<int> row = RowOfOffset(answer->toLatin1().toStdString(), &offset);
    if (!row) {
        ShowMessage(strings::kBadByteOffset, fw::kMbOk | fw::kMbIconExclamation, static_cast<long>(offset));
        return;
    }
    CaretsToChange().PlaceCaret({*row, Caret().column});
    UpdateCaret();
}
