#pragma once
#include <QString>
#include <QtGlobal>

// A file opened only when its path names a regular file. The open never
// waits, so a named pipe dropped as "x.mp3" cannot hang the program; a FIFO,
// a device or a folder is refused (for writing, before it is opened).
class FicheroRegular {
public:
    // error() after a refusal: the path exists but is not a regular file.
    static constexpr int kNoRegular = -1;

    FicheroRegular(const QString& ruta, bool escritura);
    ~FicheroRegular();
    FicheroRegular(const FicheroRegular&) = delete;
    FicheroRegular& operator=(const FicheroRegular&) = delete;

    bool abierto() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    qint64 largo() const { return largo_; }
    // The errno value of the failed open, or kNoRegular.
    int error() const { return error_; }

    // Reads up to n bytes at pos; the number read, -1 on failure (errno set).
    qint64 Lee(qint64 pos, void* destino, qint64 n) const;
    // Writes all n bytes at pos: 0, or the errno value of the failure. A write
    // past the size limit of the process fails with EFBIG instead of ending it.
    int Escribe(qint64 pos, const void* datos, qint64 n) const;
    // Cuts the file back to largo bytes; false when it cannot.
    bool Trunca(qint64 largo) const;
    // Closes the file: 0, or the errno value of a failure the close reports.
    int Cierra();

private:
    int fd_ = -1;
    qint64 largo_ = 0;
    int error_ = 0;
};
