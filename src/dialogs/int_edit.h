#pragma once
// An edit field that holds a whole number in a range: characters that are
// not digits are taken out again as they are typed, with a beep each, and
// the value is kept between its minimum and maximum.

#include <QLineEdit>

class IntEdit : public QLineEdit {
    Q_OBJECT
public:
    IntEdit(int minimum, int maximum, QWidget* parent = nullptr);

    void SetValue(int value);
    int GetValue() const;

    // Beeps given since the field was made (one per removed character).
    int Beeps() const { return beeps_; }

private:
    void Filter();

    int minimum_;
    int maximum_;
    int beeps_ = 0;
    bool filtering_ = false;
};
