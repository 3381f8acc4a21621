#include "common/diario.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QUuid>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include "common/ficheroregular.h"
#include "common/lodrinerror.h"

namespace {

const char kMarca[8] = {'L', 'O', 'D', 'R', 'I', 'N', 'D', '1'};
enum Clase : qint32 { kEscritura = 1, kCopia = 2 };
// Records outlive the program that wrote them: one layout, whatever Qt reads them.
constexpr QDataStream::Version kVersionFlujo = QDataStream::Qt_6_0;
// The room the journal keeps free beyond the records, for everything else.
constexpr qint64 kHolgura = 16 << 10;

const QString kExtensionEspera = QStringLiteral(".nuevo");

// A write in progress is made whole on the disk of the folder holding path.
void VaciaDisco(const QString& ruta)
{
    const int fd = ::open(QFile::encodeName(ruta).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return;
    ::syncfs(fd);
    ::close(fd);
}

// The size limit's signal would end the program: held back while a record
// is written, and taken back when a write raised it (the write fails).
class SinSenalLimite {
public:
    SinSenalLimite()
    {
        sigemptyset(&limite_);
        sigaddset(&limite_, SIGXFSZ);
        pthread_sigmask(SIG_BLOCK, &limite_, &antes_);
    }
    ~SinSenalLimite()
    {
        const timespec nada{0, 0};
        while (sigtimedwait(&limite_, nullptr, &nada) == SIGXFSZ) {
        }
        pthread_sigmask(SIG_SETMASK, &antes_, nullptr);
    }

private:
    sigset_t limite_, antes_;
};

QString Tamano(qint64 bytes)
{
    return QLocale(QLocale::Spanish).formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

// The file as recorded: 0, or the errno value of the failure. *tocado says
// whether a byte of it may have changed.
int AplicaEscritura(const EscrituraFichero& e, bool* tocado)
{
    *tocado = false;
    FicheroRegular f(e.destino, true);
    if (!f.abierto())
        return f.error();
    struct stat st {};
    if (::fstat(f.fd(), &st) != 0)
        return errno;
    if (st.st_dev != e.dispositivo || st.st_ino != e.inodo)
        return ESTALE;  // another file took the name: not ours to write
    // The room a longer file needs is taken before a byte changes, so a full
    // disc refuses the write rather than leaving half of it.
    if (e.largoFinal > f.largo() && ::fallocate(f.fd(), FALLOC_FL_KEEP_SIZE, 0, e.largoFinal) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS)
        return errno;
    *tocado = true;
    for (const TrozoEscritura& t : e.trozos)
        if (const int error = f.Escribe(t.pos, t.bytes.constData(), t.bytes.size()))
            return error;
    if (::ftruncate(f.fd(), e.largoFinal) != 0)
        return errno;
    return f.Cierra();
}

QByteArray Serializa(const EscrituraFichero& e)
{
    QByteArray b;
    QDataStream s(&b, QIODevice::WriteOnly);
    s.setVersion(kVersionFlujo);
    s.writeRawData(kMarca, sizeof kMarca);
    s << qint32(kEscritura) << e.destino << quint64(e.dispositivo) << quint64(e.inodo) << e.largoOriginal
      << e.largoFinal << quint32(e.trozos.size());
    for (const TrozoEscritura& t : e.trozos)
        s << t.pos << t.bytes;
    return b;
}

}  // namespace

qint64 EscrituraFichero::Peso() const
{
    qint64 peso = 256 + destino.size() * 2;
    for (const TrozoEscritura& t : trozos)
        peso += 16 + t.bytes.size();
    return peso;
}

QString CarpetaDiario()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
        .filePath(QStringLiteral("diario"));
}

Diario::Diario(QString carpeta) : carpeta_(std::move(carpeta)) {}

QString Diario::Registro(const QString& token, const char* extension) const
{
    return QDir(carpeta_).filePath(token + QLatin1String(extension));
}

QString Diario::NuevoToken()
{
    return QStringLiteral("%1-%2")
        .arg(QCoreApplication::applicationPid())
        .arg(QUuid::createUuid().toString(QUuid::Id128));
}

bool Diario::TokenVivo(const QString& token)
{
    bool numero = false;
    const qint64 pid = token.section(QLatin1Char('-'), 0, 0).toLongLong(&numero);
    if (!numero || pid <= 0)
        return false;
    return pid == QCoreApplication::applicationPid() || ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

QString Diario::NombreEnEspera(const QString& nombre, const QString& token)
{
    return nombre + QLatin1Char('.') + token + kExtensionEspera;
}

void Diario::ColocaEnEspera(const QString& carpeta, const QString& token)
{
    const QString cola = QLatin1Char('.') + token + kExtensionEspera;
    const QDir dir(carpeta);
    for (const QString& f : dir.entryList({QLatin1Char('*') + cola}, QDir::Files | QDir::Hidden)) {
        const QString destino = dir.filePath(f.chopped(cola.size()));
        ::rename(QFile::encodeName(dir.filePath(f)).constData(), QFile::encodeName(destino).constData());
    }
}

void Diario::QuitaEnEspera(const QString& carpeta, const QString& token)
{
    const QDir dir(carpeta);
    for (const QString& f : dir.entryList({QStringLiteral("*.") + token + kExtensionEspera + QLatin1Char('*')},
                                          QDir::Files | QDir::Hidden))
        QFile::remove(dir.filePath(f));
}

void Diario::Escribe(const QString& token, const QByteArray& contenido)
{
    if (!QDir().mkpath(carpeta_))
        throw LodrinError(QStringLiteral("no se puede crear la carpeta %1").arg(carpeta_));
    const QByteArray ruta = QFile::encodeName(Registro(token, ".tmp"));
    int error = 0;
    {
        const SinSenalLimite guarda;
        const int fd = ::open(ruta.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0) {
            error = errno;
        } else {
            const char* p = contenido.constData();
            for (qint64 n = contenido.size(); n > 0 && !error;) {
                const ssize_t w = ::write(fd, p, size_t(n));
                if (w < 0 && errno != EINTR)
                    error = errno;
                if (w > 0) {
                    p += w;
                    n -= w;
                }
            }
            if (::close(fd) != 0 && !error)
                error = errno;
        }
    }
    if (error) {
        ::unlink(ruta.constData());
        throw LodrinError(QStringLiteral("no se puede escribir en el diario %1: %2").arg(carpeta_, RazonFallo(error)));
    }
}

void Diario::Anota(const EscrituraFichero& e)
{
    const qint64 peso = e.Peso();
    if (!QDir().mkpath(carpeta_))
        throw LodrinError(QStringLiteral("no se puede crear la carpeta %1").arg(carpeta_));
    struct statvfs vfs {};
    if (::statvfs(QFile::encodeName(carpeta_).constData(), &vfs) == 0) {
        const qint64 libre = qint64(vfs.f_bavail) * qint64(vfs.f_frsize);
        if (libre - reservado_ < peso + kHolgura)
            throw LodrinError(QStringLiteral("hacen falta %1 libres en %2 para escribirlo con seguridad (hay %3)")
                                  .arg(Tamano(peso + kHolgura), carpeta_, Tamano(qMax<qint64>(0, libre - reservado_))));
    }
    Pendiente p{e, NuevoToken(), false};
    Escribe(p.token, Serializa(e));
    reservado_ += peso;
    pendientes_.push_back(std::move(p));
}

void Diario::Asegura()
{
    if (pendientes_.empty())
        return;
    // The records reach the disk whole before they are named as records: a
    // record under its name is always complete.
    VaciaDisco(carpeta_);
    for (const Pendiente& p : pendientes_)
        if (::rename(QFile::encodeName(Registro(p.token, ".tmp")).constData(),
                     QFile::encodeName(Registro(p.token, ".reg")).constData()) != 0)
            throw LodrinError(QStringLiteral("no se puede escribir en el diario %1: %2").arg(carpeta_, RazonFallo(errno)));
    VaciaDisco(carpeta_);
}

void Diario::Aplica(std::size_t i)
{
    Pendiente& p = pendientes_.at(i);
    p.intentada = true;
    bool tocado = false;
    const int error = AplicaEscritura(p.escritura, &tocado);
    if (!error) {
        p.aplicada = true;
        return;
    }
    if (!tocado) {
        QFile::remove(Registro(p.token, ".reg"));
        throw LodrinError(RazonFallo(error == ESTALE ? ENOENT : error));
    }
    // Half written: the record stays, and the next start finishes it.
    throw LodrinError(QStringLiteral("%1; se terminará de escribir al volver a abrir Lodrin").arg(RazonFallo(error)));
}

void Diario::Termina()
{
    std::map<dev_t, QString> discos;
    for (const Pendiente& p : pendientes_)
        if (p.aplicada)
            discos.emplace(p.escritura.dispositivo, p.escritura.destino);
    for (const auto& [dispositivo, ruta] : discos)
        VaciaDisco(ruta);
    for (const Pendiente& p : pendientes_)
        if (p.aplicada || !p.intentada)
            QFile::remove(Registro(p.token, ".reg"));
    for (const Pendiente& p : pendientes_)
        QFile::remove(Registro(p.token, ".tmp"));
    if (!pendientes_.empty())
        VaciaDisco(carpeta_);
    pendientes_.clear();
    reservado_ = 0;
}

void Diario::Escribe(const EscrituraFichero& e)
{
    try {
        Anota(e);
        Asegura();
        Aplica(0);
    } catch (...) {
        Termina();
        throw;
    }
    Termina();
}

QString Diario::AnotaCopia(const QString& temporal, const QString& final, const QString& carpetaImagenes)
{
    const QString token = NuevoToken();
    QByteArray b;
    QDataStream s(&b, QIODevice::WriteOnly);
    s.setVersion(kVersionFlujo);
    s.writeRawData(kMarca, sizeof kMarca);
    s << qint32(kCopia) << temporal << final << carpetaImagenes << token;
    Escribe(token, b);
    VaciaDisco(carpeta_);
    ::rename(QFile::encodeName(Registro(token, ".tmp")).constData(),
             QFile::encodeName(Registro(token, ".reg")).constData());
    VaciaDisco(carpeta_);
    return token;
}

void Diario::Olvida(const QString& token)
{
    QFile::remove(Registro(token, ".reg"));
    QFile::remove(Registro(token, ".tmp"));
}

int Diario::Recupera()
{
    const QDir dir(carpeta_);
    int hechos = 0;
    // A record still being written was never acted on.
    for (const QString& f : dir.entryList({QStringLiteral("*.tmp")}, QDir::Files | QDir::Hidden)) {
        if (TokenVivo(f.chopped(4)))
            continue;
        QFile::remove(dir.filePath(f));
        ++hechos;
    }
    for (const QString& f : dir.entryList({QStringLiteral("*.reg")}, QDir::Files | QDir::Hidden)) {
        if (TokenVivo(f.chopped(4)))
            continue;
        ++hechos;
        const QString ruta = dir.filePath(f);
        const QByteArray b = LeeFicheroRegular(ruta);
        QDataStream s(b);
        s.setVersion(kVersionFlujo);
        char marca[sizeof kMarca] = {};
        qint32 clase = 0;
        if (s.readRawData(marca, sizeof marca) != sizeof marca || std::memcmp(marca, kMarca, sizeof marca) != 0) {
            QFile::remove(ruta);
            continue;
        }
        s >> clase;
        if (clase == kEscritura) {
            EscrituraFichero e;
            quint64 dispositivo = 0, inodo = 0;
            quint32 n = 0;
            s >> e.destino >> dispositivo >> inodo >> e.largoOriginal >> e.largoFinal >> n;
            e.dispositivo = dev_t(dispositivo);
            e.inodo = ino_t(inodo);
            for (quint32 k = 0; k < n && s.status() == QDataStream::Ok; ++k) {
                TrozoEscritura t;
                s >> t.pos >> t.bytes;
                e.trozos.push_back(std::move(t));
            }
            bool tocado = false;
            if (s.status() == QDataStream::Ok) {
                const int error = AplicaEscritura(e, &tocado);
                // A file that cannot be written now keeps its record for the
                // next start, as does one on a disc not mounted now; one that
                // is gone from its folder, or whose name another file took,
                // has nothing left to finish.
                if (error && (tocado || (error == ENOENT && !QFileInfo(e.destino).absoluteDir().exists())))
                    continue;
                VaciaDisco(e.destino);
            }
        } else if (clase == kCopia) {
            QString temporal, final, carpetaImagenes, token;
            s >> temporal >> final >> carpetaImagenes >> token;
            if (s.status() == QDataStream::Ok) {
                if (!QFile::exists(temporal) && QFile::exists(final)) {
                    // Killed after the copy took its name: its pictures too.
                    ColocaEnEspera(carpetaImagenes, token);
                } else {
                    // The file being built, its engine's side files and the
                    // new file the engine was making under it.
                    const QFileInfo t(temporal);
                    for (const QString& lado : t.dir().entryList({t.fileName() + QLatin1Char('*')},
                                                                 QDir::Files | QDir::Hidden))
                        QFile::remove(t.dir().filePath(lado));
                    QuitaEnEspera(carpetaImagenes, token);
                }
            }
        }
        QFile::remove(ruta);
    }
    return hechos;
}
