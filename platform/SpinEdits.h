// SPDX-License-Identifier: GPL-3.0-or-later
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
        // The value is taken when typing ends, so that a refused number
        // leaves the value it had, not one of its beginnings.
        setKeyboardTracking(false);
    }
    int Value() const { return value(); }
    void SetValue(int v) { setValue(v); }
    // Applies the limits: an unchecked limit is no limit.
    void SetLimits(bool checkMin, int minValue, bool checkMax, int maxValue) {
        setRange(checkMin ? minValue : INT_MIN, checkMax ? maxValue : INT_MAX);
    }

signals:
    // A number outside the limits was typed and not taken; the value stays.
    void OutOfRange(const QString &typed);

protected:
    // A number out of range may be typed whole (instead of losing its last
    // digit unseen), so that it can be refused with a word.
    QValidator::State validate(QString &input, int &pos) const override {
        const QValidator::State state = QSpinBox::validate(input, pos);
        return state == QValidator::Invalid && IsOutOfRange(input) ? QValidator::Intermediate
                                                                   : state;
    }
    void fixup(QString &input) const override {
        if (IsOutOfRange(input))
            emit const_cast<TAdvSpinEdit *>(this)->OutOfRange(input.trimmed());
        QSpinBox::fixup(input);
    }

private:
    bool IsOutOfRange(const QString &input) const {
        bool ok = false;
        const qlonglong v = input.trimmed().toLongLong(&ok);
        return ok && (v < minimum() || v > maximum());
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
