#include "programs/carpetavisor.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kAutorun = QStringLiteral("autorun.dat");
}

CarpetaVisor EligeCarpetaVisor(const QStringList& argumentos, const QString& carpetaPrograma,
                               PreguntaAutorun* pregunta)
{
    if (!argumentos.isEmpty()) {
        const QFileInfo dado(argumentos.first());
        const QString carpeta = dado.isDir() ? dado.absoluteFilePath() : dado.absolutePath();
        if ((dado.isDir() || dado.fileName() == kAutorun) && QFileInfo::exists(QDir(carpeta).filePath(kAutorun)))
            return {carpeta, {}};
        return {{}, QStringLiteral("Vistel: no hay %1 en «%2»\n").arg(kAutorun, QDir::toNativeSeparators(dado.filePath()))};
    }
    if (pregunta == nullptr || QFileInfo::exists(QDir(carpetaPrograma).filePath(kAutorun)))
        return {carpetaPrograma, {}};
    const QString elegido = pregunta->EligeAutorun();
    if (elegido.isEmpty())
        return {};
    return EligeCarpetaVisor({elegido}, carpetaPrograma, nullptr);
}
