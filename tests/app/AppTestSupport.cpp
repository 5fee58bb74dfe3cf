#include "AppTestSupport.h"

#include "ReadAndSaveIni.h"

#include <QDir>

void IsolatedUser::SetUp() {
    for (const char *name :
         {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
        const QString path = dir.file(QStringLiteral("user/") + QLatin1String(name));
        QDir().mkpath(path);
        // The runtime folder must be private, as the session state needs.
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(name, QFile::encodeName(path));
    }
    fPrevious = suite::SetDialogService(&dialogs);
    app::save_memos = true;
    app::SetAppDriveRoot(QString());
}

void IsolatedUser::TearDown() {
    suite::SetDialogService(fPrevious);
    app::SetAppDriveRoot(QString());
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

QByteArray GoodText(int repeats) {
    QByteArray s;
    for (int i = 0; i < repeats; ++i)
        s += "The quick brown fox jumps over the lazy dog and then the cat sat on the mat.\r\n";
    return s;
}

QByteArray CutText() {
    return QByteArray("Some words\0\0\0\0\0\0\0\0\0\0 and junk after", 35);
}

QByteArray OddDigraphText() {
    QByteArray s;
    for (int i = 0; i < 30; ++i)
        s += "XQ ";
    return s + "\r\n";
}

QByteArray LopsidedText() {
    QString t;
    for (int i = 2047; i >= 0; --i) {
        t += QChar(char16_t(0x4E00 + i));
        t += QLatin1Char(' ');
    }
    t += QStringLiteral("\r\n");
    return Utf16LeWithMark(t);
}
