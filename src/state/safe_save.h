#pragma once
// The one way every file the program produces reaches the disk: the new content is written
// into an unnamed file beside the target, each write checked, flushed and synced, and only
// then put in the target's place by a rename. Until that rename the earlier file is untouched;
// a full disk, a read-only folder or a killed process leave it as it was and leave no
// half-written file or temporary name behind.

#include "text/language.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace zorva {

enum class SaveFault {
    None,
    TargetIsFolder,       // the name is a folder
    NotRegularFile,       // a device, pipe or socket: nothing that could be replaced
    FileWriteProtected,   // the earlier file may not be changed
    FolderMissing,
    FolderNotWritable,    // the new file is written beside the old one, so the folder must allow it
    ReadOnlyDrive,
    DiskFull,             // also a full quota
    FileTooLarge,         // the file-size limit of the process or the file system
    WriteFailed,          // any other failure while writing, syncing or replacing
    NotOpen,              // written or committed without a successful open
};

struct SaveError {
    SaveFault fault = SaveFault::None;
    int systemError = 0;  // errno of the failing call, 0 when none
    bool failed() const { return fault != SaveFault::None; }
};

// Why a save failed, in the user's language, ending with the assurance that the earlier file
// is unchanged. Empty for no failure.
QString SaveErrorText(const SaveError& error, Language language);

// A write-only device for one target file. Writes are buffered; the first failing write makes
// every later one fail and commit() return false. Destroying the device without commit()
// discards what was written.
class SafeSaveFile : public QIODevice {
public:
    explicit SafeSaveFile(const QString& target);
    ~SafeSaveFile() override;
    SafeSaveFile(const SafeSaveFile&) = delete;
    SafeSaveFile& operator=(const SafeSaveFile&) = delete;

    // WriteOnly (Text and Truncate are accepted and change nothing).
    bool open(OpenMode mode = QIODevice::WriteOnly) override;
    // Flushes, syncs and puts the file in the target's place. False (and the earlier file kept)
    // on any failure, including one of an earlier write.
    bool commit();
    // Drops what was written; the target stays as it was.
    void cancel();

    bool isSequential() const override { return true; }
    const QString& target() const { return target_; }
    SaveError error() const { return error_; }
    QString errorText(Language language) const { return SaveErrorText(error_, language); }

    // The bytes written so far from `offset`, at most `maxBytes`: for writers that choose the
    // final form of a file only after writing it.
    QByteArray readBack(qint64 offset, qint64 maxBytes);

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool flushBuffer();
    void fail(SaveFault fault, int systemError);
    void discard();

    QString target_;
    QByteArray resolved_;   // the file that is replaced (symbolic links followed), encoded for the OS
    QByteArray folder_;
    QByteArray tempName_;   // set when the system offers no unnamed files
    int fd_ = -1;
    bool existed_ = false;
    QByteArray buffer_;
    SaveError error_;
};

// The whole file at once, for writers that hold it in memory.
bool SaveFileBytes(const QString& path, const QByteArray& bytes, SaveError* error = nullptr);

}  // namespace zorva
