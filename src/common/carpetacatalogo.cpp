#include "common/carpetacatalogo.h"

#include <QDir>
#include <QFileInfo>

QString CarpetaCatalogo(const QString& carpetaPrograma, const QString& carpetaDatos)
{
    const QDir programa(carpetaPrograma);
    // lodrin.ini alone (a catalogue kept on a server) marks the folder too.
    for (const char* nombre : {"anterior.mdb", "lodrin.ini"})
        if (programa.exists(QString::fromLatin1(nombre)))
            return carpetaPrograma;
    if (QFileInfo(carpetaPrograma).isWritable())
        return carpetaPrograma;
    return carpetaDatos;
}

QString TextoCarpetaCatalogo(const QString& carpeta)
{
    return QStringLiteral("Carpeta del catálogo: %1").arg(QDir::toNativeSeparators(carpeta));
}
