// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The suite's dialogs shown as message boxes.

#include "Dialogs.h"

namespace app {

class TMessageBoxDialogService : public suite::TDialogService {
public:
    int ShowMessage(QWidget *owner, const QString &title, const QString &text,
                    suite::TMsgDlgType type, unsigned buttons, int helpContext) override;
};

} // namespace app
