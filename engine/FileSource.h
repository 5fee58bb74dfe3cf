#pragma once
// Where a run's files come from, in list order: a list in memory, or (in
// brindle-scan) folder walks as a stream, so that a run over millions of
// files never holds their names. Next() is called on the run's own thread
// only.

#include <QString>
#include <QStringList>

namespace engine {

// A file as a source gives it.
struct TSourceFile {
    QString path;
    // The walk has just seen a regular file there, so it can be opened
    // without looking at it first (a listed path is looked at: a device or
    // a FIFO must never be opened).
    bool seenRegular = false;
    // Named by the user one by one (a list entry, a FILE argument) rather
    // than found by a walk: if it cannot be checked, the user is told why.
    bool named = false;
};

class TFileSource {
public:
    virtual ~TFileSource() = default;
    // The next file; false at the end of the list.
    virtual bool Next(TSourceFile &file) = 0;
};

class TListSource : public TFileSource {
public:
    // `named`: the user named these files one by one (see TSourceFile).
    explicit TListSource(QStringList files, bool named = false)
        : fFiles(std::move(files)), fNamed(named) {}
    bool Next(TSourceFile &file) override;

private:
    QStringList fFiles;
    bool fNamed;
    qsizetype fNext = 0;
};

} // namespace engine
