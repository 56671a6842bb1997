#pragma once
// The frame's placement rules: where a stored rectangle is shown.

#include <QRect>
#include <QList>

// `stored` unchanged when it lies at least partly on one of `screens`
// (their available areas); otherwise moved (and cut down to fit) onto the
// first screen. No screens: unchanged.
QRect PlaceOnScreens(const QRect& stored, const QList<QRect>& screens);
