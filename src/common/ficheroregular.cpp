#include "common/ficheroregular.h"

#include <QFile>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace {

bool DelNucleo(const struct statfs& s)
{
    static constexpr unsigned long kTipos[] = {PROC_SUPER_MAGIC,    SYSFS_MAGIC,        DEBUGFS_MAGIC,
                                               TRACEFS_MAGIC,       SECURITYFS_MAGIC,   CGROUP_SUPER_MAGIC,
                                               CGROUP2_SUPER_MAGIC, PSTOREFS_MAGIC,     EFIVARFS_MAGIC,
                                               BPF_FS_MAGIC};
    for (const unsigned long t : kTipos)
        if (static_cast<unsigned long>(s.f_type) == t)
            return true;
    return false;
}

// Whether the file lies in a tree the kernel makes up (/proc, /sys and the
// ones mounted under it): their "regular" files may block a reader, or hand
// out the kernel's messages. The answer is kept for the last device asked,
// so a folder of MP3s costs one question.
bool EnSistemaDelNucleo(int fd, dev_t dispositivo)
{
    static thread_local dev_t ultimo = 0;
    static thread_local bool ultimoDelNucleo = false;
    static thread_local bool preguntado = false;
    if (preguntado && dispositivo == ultimo)
        return ultimoDelNucleo;
    struct statfs s {};
    if (::fstatfs(fd, &s) != 0)
        return false;
    const bool delNucleo = DelNucleo(s);
    ultimo = dispositivo;
    ultimoDelNucleo = delNucleo;
    preguntado = true;
    return delNucleo;
}

}  // namespace

FicheroRegular::FicheroRegular(const QString& ruta, bool escritura)
{
    const QByteArray nombre = QFile::encodeName(ruta);
    struct stat st {};
    // A device is never opened for writing, not even to be refused. Reading
    // opens at once (one system call less per file), non-blocking.
    if (escritura && ::stat(nombre.constData(), &st) == 0 && !S_ISREG(st.st_mode)) {
        error_ = S_ISDIR(st.st_mode) ? EISDIR : kNoRegular;
        return;
    }
    // Non-blocking all the same: a FIFO would wait for its other end, and the
    // path may have been swapped for one since the check.
    const int fd = ::open(nombre.constData(), (escritura ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        error_ = errno;
        return;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || EnSistemaDelNucleo(fd, st.st_dev)) {
        error_ = S_ISDIR(st.st_mode) ? EISDIR : kNoRegular;
        ::close(fd);
        return;
    }
    fd_ = fd;
    largo_ = qint64(st.st_size);
}

FicheroRegular::~FicheroRegular()
{
    if (fd_ >= 0)
        ::close(fd_);
}

qint64 FicheroRegular::Lee(qint64 pos, void* destino, qint64 n) const
{
    qint64 leidos = 0;
    while (leidos < n) {
        const ssize_t r = ::pread(fd_, static_cast<char*>(destino) + leidos, size_t(n - leidos), off_t(pos + leidos));
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            return leidos > 0 ? leidos : -1;
        if (r == 0)
            break;
        leidos += r;
    }
    return leidos;
}

int FicheroRegular::Escribe(qint64 pos, const void* datos, qint64 n) const
{
    // The size limit's signal would end the program: it is held back while
    // writing, and taken back when the write raised it.
    sigset_t limite, antes;
    sigemptyset(&limite);
    sigaddset(&limite, SIGXFSZ);
    pthread_sigmask(SIG_BLOCK, &limite, &antes);
    int error = 0;
    qint64 hecho = 0;
    while (hecho < n) {
        const ssize_t r = ::pwrite(fd_, static_cast<const char*>(datos) + hecho, size_t(n - hecho), off_t(pos + hecho));
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0) {
            error = r < 0 ? errno : EIO;
            break;
        }
        hecho += r;
    }
    if (error == EFBIG) {
        const timespec nada{0, 0};
        while (sigtimedwait(&limite, nullptr, &nada) == SIGXFSZ) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &antes, nullptr);
    return error;
}

bool FicheroRegular::Trunca(qint64 largo) const
{
    int r;
    do
        r = ::ftruncate(fd_, off_t(largo));
    while (r != 0 && errno == EINTR);
    return r == 0;
}

int FicheroRegular::Suelta()
{
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

int FicheroRegular::Cierra()
{
    if (fd_ < 0)
        return 0;
    const int r = ::close(fd_);
    fd_ = -1;
    return r == 0 ? 0 : errno;
}

QString RazonFallo(int error)
{
    // Every cause in the user's words: a number tells a person nothing.
    switch (error) {
    case FicheroRegular::kNoRegular: return QStringLiteral("no es un fichero normal");
    case EISDIR: return QStringLiteral("es una carpeta");
    case ENOENT:
    case ENOTDIR: return QStringLiteral("el fichero no existe");
    case ENOSPC:
    case EDQUOT: return QStringLiteral("no queda espacio en el disco");
    case EFBIG:
    case EOVERFLOW: return QStringLiteral("el fichero es demasiado grande");
    case EACCES:
    case EPERM: return QStringLiteral("permiso denegado");
    case EROFS: return QStringLiteral("el disco es de solo lectura");
    case EBUSY:
    case ETXTBSY: return QStringLiteral("el fichero está en uso");
    case EAGAIN: return QStringLiteral("el fichero está bloqueado por otro programa");
    case EIO: return QStringLiteral("error de entrada/salida del disco");
    case ELOOP: return QStringLiteral("la ruta tiene demasiados enlaces simbólicos");
    case ENAMETOOLONG: return QStringLiteral("la ruta es demasiado larga");
    case ENXIO:
    case ENODEV: return QStringLiteral("el dispositivo no existe o no está preparado");
    case ENOMEDIUM: return QStringLiteral("no hay ningún disco en la unidad");
    case EMFILE:
    case ENFILE: return QStringLiteral("hay demasiados ficheros abiertos");
    case ENOMEM: return QStringLiteral("no queda memoria");
    case EINVAL: return QStringLiteral("la ruta no es válida");
    case ESTALE:
    case ENOTCONN:
    case EHOSTDOWN:
    case EHOSTUNREACH:
    case ETIMEDOUT: return QStringLiteral("la unidad de red no responde");
    case EINTR: return QStringLiteral("la operación se interrumpió");
    default: return QStringLiteral("el sistema no permite usar el fichero");
    }
}

QByteArray LeeFicheroRegular(const QString& ruta, QString* razon, qint64 maximo)
{
    FicheroRegular f(ruta, false);
    if (!f.abierto()) {
        if (razon)
            *razon = RazonFallo(f.error());
        return {};
    }
    QByteArray bytes;
    const qint64 largo = qMin(f.largo(), maximo);
    bytes.resize(largo);
    const qint64 n = f.Lee(0, bytes.data(), largo);
    if (n < 0) {
        if (razon)
            *razon = RazonFallo(errno);
        return {};
    }
    bytes.truncate(n);
    return bytes;
}

bool AbreFicheroRegular(const QString& ruta, QFile& f)
{
    FicheroRegular r(ruta, false);
    if (!r.abierto())
        return false;
    // Blocking again for the reader: a regular file never waits, and the
    // readers Qt gives expect ordinary reads.
    const int fd = r.Suelta();
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

bool EsFicheroRegular(const QString& ruta)
{
    struct stat st {};
    struct statfs fs {};
    const QByteArray nombre = QFile::encodeName(ruta);
    return !ruta.isEmpty() && ::stat(nombre.constData(), &st) == 0 && S_ISREG(st.st_mode) &&
           !(::statfs(nombre.constData(), &fs) == 0 && DelNucleo(fs));
}
