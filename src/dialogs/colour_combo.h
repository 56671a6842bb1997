#pragma once
// A drop-down list of the sixteen colour swatches, without texts. Each
// item is a black-edged swatch inset by two pixels; the item that has the
// focus gets a focus rectangle around it.

#include "dialogs/colour_swatches.h"

#include <QComboBox>

class ColorCombo : public QComboBox {
    Q_OBJECT
public:
    explicit ColorCombo(QWidget* parent = nullptr);

    // Selects the first swatch equal to `colour`, or black when none is.
    void SetColor(Rgb colour);
    Rgb GetColor() const;

    static QColor ToQColor(Rgb colour);

protected:
    void paintEvent(QPaintEvent* event) override;
};
