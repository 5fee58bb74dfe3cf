// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppTestSupport.h"

#include "Fixtures.h"
#include "MainWindow.h"
#include "ReadAndSaveIni.h"
#include "ResultTable.h"

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

void WindowFixture::SetUp() {
    IsolatedUser::SetUp();
    reference = dir.write("ref/good.txt", GoodText(20));
}

void WindowFixture::TearDown() {
    form.reset();
    IsolatedUser::TearDown();
}

void WindowFixture::Open(const QString &folder) {
    form = std::make_unique<TForm1>();
    form->show();
    form->ElFileNameEdit1->SetFileList({reference});
    form->ElFolderNameEdit1->SetText(dir.file(folder));
}

void WindowFixture::AtFirstEntry(std::function<void()> action) {
    auto done = std::make_shared<bool>(false);
    QObject::connect(form->ElListBox1->model(), &QAbstractItemModel::rowsInserted, form.get(),
                     [done, action] {
                         if (!*done) {
                             *done = true;
                             action();
                         }
                     });
}

QStringList IsolatedUser::Shown() const {
    QStringList out;
    for (const auto &s : dialogs.shown)
        out << s.text;
    return out;
}
