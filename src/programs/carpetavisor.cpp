#include "programs/carpetavisor.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>

#include "common/ficheroregular.h"

namespace {
const QString kAutorun = QStringLiteral("autorun.dat");

// Why an autorun.dat that is there cannot be read (a link that loops, a
// folder, a file we may not read); empty when it can, or when there is none.
QString Ilegible(const QString& ruta)
{
    const FicheroRegular f(ruta, false);
    return f.abierto() || f.error() == ENOENT || f.error() == ENOTDIR ? QString() : RazonFallo(f.error());
}

CarpetaVisor Fallo(const QString& ruta, const QString& razon)
{
    return {{}, QStringLiteral("Vistel: no se puede leer «%1»: %2\n").arg(QDir::toNativeSeparators(ruta), razon)};
}
}  // namespace

CarpetaVisor EligeCarpetaVisor(const QStringList& argumentos, const QString& carpetaPrograma,
                               PreguntaAutorun* pregunta)
{
    if (!argumentos.isEmpty()) {
        const QFileInfo dado(argumentos.first());
        const QString carpeta = dado.isDir() ? dado.absoluteFilePath() : dado.absolutePath();
        const QString autorun = QDir(carpeta).filePath(kAutorun);
        if (dado.isDir() || dado.fileName() == kAutorun) {
            if (const QString razon = Ilegible(autorun); !razon.isEmpty())
                return Fallo(autorun, razon);
            if (QFileInfo::exists(autorun))
                return {carpeta, {}};
        }
        return {{}, QStringLiteral("Vistel: no hay %1 en «%2»\n").arg(kAutorun, QDir::toNativeSeparators(dado.filePath()))};
    }
    const QString propio = QDir(carpetaPrograma).filePath(kAutorun);
    if (const QString razon = Ilegible(propio); !razon.isEmpty())
        return Fallo(propio, razon);
    if (pregunta == nullptr || QFileInfo::exists(propio))
        return {carpetaPrograma, {}};
    const QString elegido = pregunta->EligeAutorun();
    if (elegido.isEmpty())
        return {};
    return EligeCarpetaVisor({elegido}, carpetaPrograma, nullptr);
}
