#pragma once
#include <QByteArray>
#include <QString>
#include <QtGlobal>

class QFile;

// A file opened only when its path names a regular file. The open never
// waits, so a named pipe dropped as "x.mp3" or named as a cover in
// autorun.dat cannot hang the program; a FIFO, a device or a folder is
// refused (for writing, before it is opened), and so is a file in the trees
// the kernel makes up (/proc, /sys). Every reader of a path that
// comes from outside (a CD, a dropped file, a file's own text) goes through it.
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
    // Hands the open descriptor over to the caller, who closes it.
    int Suelta();

private:
    int fd_ = -1;
    qint64 largo_ = 0;
    int error_ = 0;
};

// The reason an open failed, in Spanish, from FicheroRegular::error().
QString RazonFallo(int error);

// The whole of a regular file; empty when it cannot be read (the reason in
// *razon when given). At most `maximo` bytes are read.
QByteArray LeeFicheroRegular(const QString& ruta, QString* razon = nullptr, qint64 maximo = qint64(1) << 30);

// f opened for reading on the regular file at ruta, for readers that take a
// device (pictures, text streams); false when ruta is not one.
bool AbreFicheroRegular(const QString& ruta, QFile& f);

// Whether ruta names a regular file (following links), without opening it.
bool EsFicheroRegular(const QString& ruta);
