#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

QString EscribeFichero(const QString& ruta, const QByteArray& contenido)
{
    QDir().mkpath(QFileInfo(ruta).absolutePath());
    QFile f(ruta);
    if (f.open(QIODevice::WriteOnly))
        f.write(contenido);
    return ruta;
}

QByteArray LeeFichero(const QString& ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

#include <QCoreApplication>
#include <QProcess>
#include <QElapsedTimer>
#include <csignal>
#include <sys/wait.h>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
constexpr unsigned kPermisos = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);

bool Capacidades(__user_cap_data_struct* d, bool poner)
{
    __user_cap_header_struct h{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(poner ? SYS_capset : SYS_capget, &h, d) == 0;
}
}  // namespace

SinPrivilegios::SinPrivilegios()
{
    __user_cap_data_struct d[2] = {};
    if (!Capacidades(d, false))
        return;
    efectivos_ = d[0].effective & kPermisos;
    d[0].effective &= ~kPermisos;
    Capacidades(d, true);
}

SinPrivilegios::~SinPrivilegios()
{
    __user_cap_data_struct d[2] = {};
    if (!efectivos_ || !Capacidades(d, false))
        return;
    d[0].effective |= efectivos_;
    Capacidades(d, true);
}

bool MataHijo(const QStringList& args, const std::function<bool(qint64)>& ya)
{
    QProcess hijo;
    hijo.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    hijo.start(QCoreApplication::applicationFilePath(), args);
    if (!hijo.waitForStarted(30000))
        return false;
    hijo.waitForReadyRead(30000);
    QElapsedTimer reloj;
    reloj.start();
    // Checked often, so a kill can fall between two writes of the child.
    while (!ya(reloj.elapsed()) && reloj.elapsed() < 60000)
        if (hijo.waitForFinished(0) || ::waitpid(pid_t(hijo.processId()), nullptr, WNOHANG | WNOWAIT) > 0)
            break;
    if (hijo.state() == QProcess::NotRunning || ::kill(pid_t(hijo.processId()), SIGKILL) != 0) {
        hijo.waitForFinished(30000);
        return false;
    }
    hijo.waitForFinished(30000);
    return hijo.exitStatus() == QProcess::CrashExit;
}

QString FicheroSinAudio()
{
    static QTemporaryDir dir;
    static const QString ruta = EscribeFichero(dir.filePath(QStringLiteral("sin audio.mp3")), QByteArray(4000, '\0'));
    return ruta;
}
