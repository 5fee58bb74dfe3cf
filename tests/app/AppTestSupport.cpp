#include "AppTestSupport.h"

#include "ReadAndSaveIni.h"

void IsolatedUser::SetUp() {
    fEnv.emplace();
    fPrevious = suite::SetDialogService(&dialogs);
    app::save_memos = true;
    app::SetAppDriveRoot(QString());
}

void IsolatedUser::TearDown() {
    suite::SetDialogService(fPrevious);
    app::SetAppDriveRoot(QString());
    fEnv.reset();
}

QString IsolatedUser::SettingsFile() const {
    return app::SettingsFileName();
}

QStringList IsolatedUser::Shown() const {
    QStringList out;
    for (const auto &s : dialogs.shown)
        out << s.text;
    return out;
}
