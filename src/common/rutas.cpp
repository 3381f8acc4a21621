#include "common/rutas.h"

#include <QDir>

namespace rutas {

QString Separador() { return QString(QDir::separator()); }

QString ConSeparador(const QString& carpeta)
{
    QString c = QDir::toNativeSeparators(carpeta);
    if (!c.endsWith(QDir::separator()))
        c += QDir::separator();
    return c;
}

QString Nativa(const QString& base, const QString& relativa)
{
    QString rel = relativa;
    rel.replace(QLatin1Char('\\'), QDir::separator());
    if (base.isEmpty())
        return rel;
    QString b = ConSeparador(base);
    if (rel.startsWith(QDir::separator()))
        rel.remove(0, 1);
    return b + rel;
}

QString UneConBarra(const QString& carpeta, const QString& nombre)
{
    if (carpeta.endsWith(QLatin1Char('\\')))
        return carpeta + nombre;
    return carpeta + QLatin1Char('\\') + nombre;
}

bool EsNombreSimple(const QString& nombre)
{
    if (nombre.isEmpty() || nombre == QLatin1String(".") || nombre == QLatin1String(".."))
        return false;
    for (const QChar c : nombre)
        if (c == QLatin1Char('\\') || c == QLatin1Char('/') || c == QLatin1Char(':') ||
            c.category() == QChar::Other_Control)
            return false;
    return true;
}

}  // namespace rutas
