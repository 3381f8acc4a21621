#include "common/traducciones.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

void CargaTraducciones(QCoreApplication& app)
{
    auto* qt = new QTranslator(&app);
    if (qt->load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
}
