// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The base of the tool's windows that follow the suite's visual style.
//
// A stylable form restyles itself when it is activated while visible and the
// process-wide style (CurrentTMSStyle) differs from the one it applied last;
// so restyling costs nothing on the many activations that change nothing.

#include "TForm.h"
#include "TMSStyles.h"

class TTMSStylableForm : public TForm {
    Q_OBJECT
public:
    explicit TTMSStylableForm(QWidget *parent = nullptr);

    // The style last applied; kNotYetStyled after creation.
    TTMSStyle currentStyle = kNotYetStyled;

    // Runs on every activation of the form, and from the suite's activation
    // step. `Sender` is not used.
    void ActivateZorador(QObject *Sender);
    // The form's own colour for `AStyle`.
    virtual void SetComponentStyle(TTMSStyle AStyle);
    // Restyles the form's menu, stylers and every control below it.
    void ApplyStyleToForm(TTMSStyle style);

protected:
    bool event(QEvent *e) override;
};
