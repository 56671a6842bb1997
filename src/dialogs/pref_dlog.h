#pragma once
// The modal "Preferences" dialog: font, background and text colours, tab
// width, auto indent and undo limit, with a live sample. It reads the
// settings file when it opens (and on Restore) and writes it on OK only;
// the frame then asks the open views to read their settings again.

#include "dialogs/preference_values.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class ColorCombo;
class IntEdit;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class ViewSample;

class PrefDlog : public QDialog {
    Q_OBJECT
public:
    explicit PrefDlog(QWidget* parent, std::string settings = {});

    // True once anything was changed since the last load; after OK also
    // when OK changed a stored value.
    bool Changed() const { return changed_; }
    const FontChoice& WorkingFont() const { return font_; }

    // Runs the dialog; true when it ended with OK and something changed.
    static bool Run(QWidget* parent);

    // The font chooser: given the starting font, the chosen one or nothing
    // on Cancel. Tests put their own in place of the system's.
    using FontChooser = std::function<std::optional<QFont>(QWidget* parent, const QFont& initial)>;
    static void SetFontChooser(FontChooser chooser);

    // The font the views make from `font`.
    static QFont ViewFont(const FontChoice& font);

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void LoadControls();
    void UpdateSample();
    void TabStopsToSample();
    void ColoursToSample();
    void ChooseFont();
    void FitToScreen();
    int SelectedTabStops() const;

    std::string settings_;
    std::vector<std::string> tab_items_;
    FontChoice font_;
    int remembered_undo_limit_ = 16;
    bool changed_ = false;

    QComboBox* tab_stops_;
    QCheckBox* auto_indent_;
    IntEdit* undo_limit_;
    QLabel* undo_label_;
    ColorCombo* background_;
    ColorCombo* text_;
    ViewSample* sample_;
    QLabel* font_label_;
    QPushButton* fonts_;
    QPushButton* restore_;
    QPushButton* ok_;
    QPushButton* cancel_;
};
