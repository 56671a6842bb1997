#pragma once
// The sample pane of the Preferences dialog: one line of sample text, and
// the same text again indented by one tab of the chosen width, in the
// chosen font and colours. It shows nothing until it has a font.

#include <QColor>
#include <QFont>
#include <QWidget>

#include <optional>

class ViewSample : public QWidget {
    Q_OBJECT
public:
    explicit ViewSample(QWidget* parent = nullptr);

    void SetFont(const QFont& font);
    void SetTextColor(const QColor& colour);
    void SetBkColor(const QColor& colour);
    void SetTabStops(int tab_stops);

    int TabStops() const { return tab_stops_; }
    QColor TextColor() const { return text_; }
    QColor BkColor() const { return background_; }
    const std::optional<QFont>& SampleFont() const { return font_; }

    // Where the second, indented line starts.
    QPoint IndentedLineOrigin() const;
    // Room for both lines of text in full.
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor text_ = Qt::black;
    QColor background_ = Qt::white;
    std::optional<QFont> font_;
    int tab_stops_ = 4;
};
