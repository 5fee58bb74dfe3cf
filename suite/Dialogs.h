// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The suite's message dialogs, behind one replaceable service.
//
// The window installs a service that shows QMessageBox; tests install
// TRecordingDialogService so that no test ever opens a window or blocks.
// Without a service (command-line tools), messages go to standard error.

#include <QString>
#include <QStringList>
#include <vector>

class QWidget;

namespace suite {

enum class TMsgDlgType { Warning, Error, Information, Confirmation };
enum TMsgDlgBtn : unsigned { mbOK = 1, mbCancel = 2, mbHelp = 4, mbYes = 8, mbNo = 16 };
constexpr int mrOk = 1;

class TDialogService {
public:
    virtual ~TDialogService() = default;
    // A modal message; returns the modal result of the button pressed.
    virtual int ShowMessage(QWidget *owner, const QString &title, const QString &text,
                            TMsgDlgType type, unsigned buttons, int helpContext) = 0;
};

// Records every message instead of showing it.
class TRecordingDialogService : public TDialogService {
public:
    struct Shown {
        QString title;
        QString text;
        TMsgDlgType type;
        unsigned buttons;
    };
    std::vector<Shown> shown;
    int ShowMessage(QWidget *owner, const QString &title, const QString &text, TMsgDlgType type,
                    unsigned buttons, int helpContext) override;
};

// Installs `service` (not owned; nullptr restores standard error). Returns
// the previous one.
TDialogService *SetDialogService(TDialogService *service);
TDialogService *DialogService();

// Shows a message through the installed service, else writes its text to
// standard error (and returns mrOk). Every suite message goes this way.
int ShowMessage(QWidget *owner, const QString &title, const QString &text, TMsgDlgType type,
                unsigned buttons, int helpContext);

extern bool Global_TimedOut;

// A modal error naming the file that could not be found.
void FailedToFind(QWidget *owner, const QString &fileName);

// A modal message centred on the screen; returns the button pressed.
int FormCentredMessageDlg(QWidget *owner, bool &timedOut, const QString &msg, TMsgDlgType type,
                          unsigned buttons, int helpContext, int reserved = 0,
                          bool reservedFlag = false);

// The notice that a run found no suspect file.
void NoCorruptFilesFound(QWidget *owner);

} // namespace suite
