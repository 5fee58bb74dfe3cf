// SPDX-License-Identifier: GPL-3.0-or-later
// The lasting half of the shared settings library.

#include "DefaultMenuShortcuts.h"
#include "LastingSettings.h"
#include "UserFolders.h"
#include "qlbuf.h"

#include <QCoreApplication>

#include <cstring>

using namespace qlbuf;

namespace {

// The default style number makes the first activation keep the start-up
// style index (number - 1 = 14).
constexpr int32_t kDefaultStyleNum = 15;
constexpr uint8_t kDefaultCharset = 1; // the platform's "default" charset
constexpr uint8_t kDefaultTypefaceSize = 10;
const QString kDefaultTypefaceName = QStringLiteral("DejaVu Sans");

QVariant Read(const QString &key, const QVariant &fallback = QVariant()) {
    return LastingSettings()->value(key, fallback);
}

void Write(const QString &key, const QVariant &value) {
    LastingSettings()->setValue(key, value);
}

bool ValidTag(int32_t tag) {
    return tag >= 0 && tag < kMenuTags;
}

QString TagKey(const char *group, int32_t tag) {
    return QStringLiteral("%1/%2").arg(QLatin1String(group)).arg(tag);
}

// Set 0 is the suite's; other sets get groups of their own.
QString ShortcutKey(int32_t tag, int32_t set) {
    return set == 0 ? TagKey("shortcut", tag) : QStringLiteral("shortcut%1/%2").arg(set).arg(tag);
}

template <typename Record> bool ReadRecord(const QString &key, Record &record) {
    const QByteArray bytes = Read(key).toByteArray();
    if (bytes.size() != int(record.bytes.size()))
        return false;
    std::memcpy(record.bytes.data(), bytes.constData(), record.bytes.size());
    return true;
}

template <typename Record> void WriteRecord(const QString &key, const Record &record) {
    Write(key, QByteArray(reinterpret_cast<const char *>(record.bytes.data()),
                          qsizetype(record.bytes.size())));
}

} // namespace

void SetAllDefaults() {
    LastingSettings()->clear();
}

bool GetPopupMenuTagInUse(int32_t tag) {
    return ValidTag(tag) && Read(TagKey("popup", tag), false).toBool();
}
void SetPopupMenuTagInUse(int32_t tag, bool inUse) {
    if (ValidTag(tag))
        Write(TagKey("popup", tag), inUse);
}
void ClearPopupMenuTagsInUse() {
    LastingSettings()->remove(QStringLiteral("popup"));
}

QString GetUserReadWriteFolder() {
    return suite::GetUserReadWriteFolder();
}

QString GetHelpfilename() {
    // By default the folder of help pages shipped next to the program.
    const QString stored = Read(QStringLiteral("help/file")).toString();
    return stored.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/help")
                            : stored;
}
void SetHelpfilename(const QString &name) {
    Write(QStringLiteral("help/file"), name);
}

uint8_t GetQLHelpAccessMode() {
    return uint8_t(Read(QStringLiteral("help/access_mode"), 0).toUInt());
}
void SetQLHelpAccessMode(uint8_t mode) {
    Write(QStringLiteral("help/access_mode"), unsigned(mode));
}

bool GetLogging() {
    return Read(QStringLiteral("logging/wanted"), false).toBool();
}
void SetLogging(bool wanted) {
    Write(QStringLiteral("logging/wanted"), wanted);
}

QString GetLogFilename() {
    return Read(QStringLiteral("logging/file"),
                GetUserReadWriteFolder() + QStringLiteral("log.txt"))
        .toString();
}
void SetLogFilenameSetting(const QString &name) {
    Write(QStringLiteral("logging/file"), name);
}

TColoursAndTypefaces GetDefaultColoursAndTypefaces() {
    TColoursAndTypefaces record;
    if (!ReadRecord(QStringLiteral("records/coloursAndTypefaces"), record))
        record.SetTextColour(0x000000); // black text
    return record;
}
void SetDefaultColoursAndTypefaces(const TColoursAndTypefaces &record) {
    WriteRecord(QStringLiteral("records/coloursAndTypefaces"), record);
}

void GetTextSettings(TTextSettings &space) {
    if (ReadRecord(QStringLiteral("records/textSettings"), space))
        return;
    space = TTextSettings();
    space.SetScreenTypeface({kDefaultCharset, kDefaultTypefaceSize, kDefaultTypefaceName});
}
void SetTextSettings(const TTextSettings &record) {
    WriteRecord(QStringLiteral("records/textSettings"), record);
}

int32_t GetTMSOfficeStyleNum() {
    return Read(QStringLiteral("style/number"), kDefaultStyleNum).toInt();
}
void SetTMSOfficeStyleNum(int32_t style) {
    Write(QStringLiteral("style/number"), style);
}

QString GetLemmaMatchStopFilename(TQlbufTool tool, int32_t kind) {
    if (kind < 0 || kind > 3)
        return QString();
    return Read(QStringLiteral("lists/tool%1_kind%2").arg(tool).arg(kind)).toString();
}
void SetLemmaMatchStopFilename(TQlbufTool tool, int32_t kind, const QString &name) {
    if (kind >= 0 && kind <= 3)
        Write(QStringLiteral("lists/tool%1_kind%2").arg(tool).arg(kind), name);
}

bool GetMenuItemChecked(int32_t tag) {
    return ValidTag(tag) && Read(TagKey("checked", tag), false).toBool();
}
void SetMenuItemChecked(int32_t tag, bool checked) {
    if (ValidTag(tag))
        Write(TagKey("checked", tag), checked);
}

uint16_t GetMenuShortcut(int32_t tag, int32_t set) {
    if (!ValidTag(tag))
        return 0;
    return uint16_t(Read(ShortcutKey(tag, set), set == 0 ? DefaultMenuShortcut(tag) : 0).toUInt());
}
void SetMenuShortcut(int32_t tag, int32_t set, uint16_t shortcut) {
    if (ValidTag(tag))
        Write(ShortcutKey(tag, set), shortcut);
}

void GetMenuCurrentShortcuts(uint16_t *space) {
    const auto settings = LastingSettings();
    for (int tag = 0; tag < kMenuTags; ++tag)
        space[tag] =
            uint16_t(settings->value(ShortcutKey(tag, 0), DefaultMenuShortcut(tag)).toUInt());
}
