#pragma once
// The file a PDF job writes, as the device its writer draws into. Bytes go
// to the file through a buffer; the first failure of the file system (a
// full disk, a file size limit) is kept with the system's reason, and
// nothing is written after it. Qt's own file device forgets the reason of
// a short write, and its printer keeps a failed stream for every later job.

#include <QIODevice>
#include <QString>

#include <string>

class OutputFile : public QIODevice {
    Q_OBJECT
public:
    explicit OutputFile(QString path);
    ~OutputFile() override;

    // Creates or empties the file. False, with the reason, when it cannot.
    bool Open();
    // Writes out what is buffered and closes the file. False, with the
    // reason, when any byte did not reach it.
    bool Finish();

    bool Opened() const { return fd_ >= 0 || finished_; }
    bool Failed() const { return !reason_.isEmpty(); }
    const QString& Reason() const { return reason_; }
    const QString& Path() const { return path_; }

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 size) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool Flush();
    void Fail(int error);

    QString path_;
    int fd_ = -1;
    bool finished_ = false;
    std::string buffer_;
    QString reason_;
};
