#pragma once
// Integer and float spin edits.

#include "EditControls.h"

#include <QDoubleSpinBox>
#include <QSpinBox>
#include <climits>

// A spin edit whose minimum and maximum apply only when their checks are on.
class TAdvSpinEdit : public QSpinBox {
    Q_OBJECT
public:
    explicit TAdvSpinEdit(QWidget *parent = nullptr) : QSpinBox(parent) {
        setRange(INT_MIN, INT_MAX);
    }
    int Value() const { return value(); }
    void SetValue(int v) { setValue(v); }
    // Applies the limits: an unchecked limit is no limit.
    void SetLimits(bool checkMin, int minValue, bool checkMax, int maxValue) {
        setRange(checkMin ? minValue : INT_MIN, checkMax ? maxValue : INT_MAX);
    }
};

class TElSpinEdit : public QSpinBox {
    Q_OBJECT
public:
    explicit TElSpinEdit(QWidget *parent = nullptr) : QSpinBox(parent) {
        setRange(INT_MIN, INT_MAX);
    }
    int Value() const { return value(); }
    void SetValue(int v) { setValue(v); }
};

class TElFloatSpinEdit : public QDoubleSpinBox, public TCustomElEdit {
    Q_OBJECT
public:
    explicit TElFloatSpinEdit(QWidget *parent = nullptr) : QDoubleSpinBox(parent) {
        setRange(-1e9, 1e9);
    }
    QString Text() const override { return QString::number(value()); }
    void SetText(const QString &t) override {
        bool ok = false;
        const double v = t.toDouble(&ok);
        if (ok)
            setValue(v);
    }
};
