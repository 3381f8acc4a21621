#include "programs/lineaordenes.h"

#include <cstdio>

namespace {

Orden Fallo(const QString& texto)
{
    Orden o;
    o.accion = Orden::Accion::Error;
    o.error = texto;
    return o;
}

QString Prueba(const DescripcionPrograma& p)
{
    return QStringLiteral("Pruebe «%1 --help» para más información.\n").arg(p.nombre);
}

// The toolkit's options, as the window application takes them; the first
// ones are followed by a value.
bool OpcionDelToolkit(const QString& palabra, bool* llevaValor)
{
    static const QStringList conValor = {
        "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowicon",
        "qwindowtitle", "session", "style", "stylesheet", "display", "geometry", "title", "name", "visual",
        "ncols", "cmap", "qmljsdebugger"};
    static const QStringList sinValor = {"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};
    const QString nombre = palabra.mid(1).section(QLatin1Char('='), 0, 0);
    *llevaValor = conValor.contains(nombre) && !palabra.contains(QLatin1Char('='));
    return conValor.contains(nombre) || sinValor.contains(nombre);
}

}  // namespace

Orden LeeOrdenes(const QStringList& argumentos, const DescripcionPrograma& programa)
{
    Orden orden;
    bool soloArgumentos = false;
    for (qsizetype i = 0; i < argumentos.size(); ++i) {
        const QString& a = argumentos[i];
        if (soloArgumentos || !a.startsWith(QLatin1Char('-')) || a == QLatin1String("-")) {
            orden.argumentos << a;
            continue;
        }
        if (a == QLatin1String("--")) {
            soloArgumentos = true;
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            orden.accion = Orden::Accion::Ayuda;
            return orden;
        } else if (a == QLatin1String("--version") || a == QLatin1String("-v")) {
            orden.accion = Orden::Accion::Version;
            return orden;
        } else if (a.startsWith(QLatin1String("--"))) {
            const qsizetype igual = a.indexOf(QLatin1Char('='));
            const QString nombre = a.mid(2, igual < 0 ? -1 : igual - 2);
            const auto opcion = std::find_if(programa.opciones.begin(), programa.opciones.end(),
                                             [&](const OpcionOrdenes& o) { return o.nombre == nombre; });
            if (opcion == programa.opciones.end())
                return Fallo(QStringLiteral("%1: opción desconocida «%2»\n").arg(programa.nombre, a));
            QString valor;
            if (igual >= 0 && opcion->valor.isEmpty())
                return Fallo(QStringLiteral("%1: la opción «--%2» no lleva valor\n").arg(programa.nombre, nombre));
            if (igual >= 0)
                valor = a.mid(igual + 1);
            else if (!opcion->valor.isEmpty()) {
                if (i + 1 >= argumentos.size())
                    return Fallo(QStringLiteral("%1: la opción «--%2» necesita %3\n")
                                     .arg(programa.nombre, nombre, opcion->valor));
                valor = argumentos[++i];
            }
            orden.valores.insert(nombre, valor);
        } else {
            bool llevaValor = false;
            if (!OpcionDelToolkit(a, &llevaValor))
                return Fallo(QStringLiteral("%1: opción desconocida «%2»\n").arg(programa.nombre, a));
            if (llevaValor && i + 1 >= argumentos.size())
                return Fallo(QStringLiteral("%1: la opción «%2» necesita un valor\n").arg(programa.nombre, a));
            if (llevaValor)
                ++i;
        }
    }
    if (orden.argumentos.size() > programa.maxArgumentos)
        return Fallo(QStringLiteral("%1: argumento de más «%2»\n")
                         .arg(programa.nombre, orden.argumentos.at(programa.maxArgumentos)));
    return orden;
}

QString TextoAyuda(const DescripcionPrograma& p, const QString& pie)
{
    QList<QPair<QString, QString>> filas{{QStringLiteral("-h, --help"), QStringLiteral("muestra esta ayuda y termina")},
                                         {QStringLiteral("-v, --version"), QStringLiteral("muestra la versión y termina")}};
    for (const OpcionOrdenes& o : p.opciones)
        filas.append({QStringLiteral("--") + o.nombre + (o.valor.isEmpty() ? QString() : QLatin1Char(' ') + o.valor),
                      o.ayuda});
    qsizetype ancho = 0;
    for (const auto& f : filas)
        ancho = std::max(ancho, f.first.size());
    QString texto = QStringLiteral("Uso: %1 [OPCIÓN]").arg(p.nombre);
    if (!p.argumentos.isEmpty())
        texto += QLatin1Char(' ') + p.argumentos;
    texto += QLatin1Char('\n') + p.resumen + QStringLiteral("\n\nOpciones:\n");
    for (const auto& f : filas)
        texto += QStringLiteral("  ") + f.first.leftJustified(ancho + 2) + f.second + QLatin1Char('\n');
    if (!pie.isEmpty())
        texto += QLatin1Char('\n') + pie + QLatin1Char('\n');
    return texto;
}

int Atiende(const Orden& orden, const DescripcionPrograma& p, const QString& pieAyuda)
{
    switch (orden.accion) {
    case Orden::Accion::Ayuda:
        Escribe(stdout, TextoAyuda(p, pieAyuda));
        return 0;
    case Orden::Accion::Version:
        Escribe(stdout, QStringLiteral("%1 %2\n").arg(p.nombre, p.version));
        return 0;
    case Orden::Accion::Error:
        Escribe(stderr, orden.error + Prueba(p));
        return 2;
    case Orden::Accion::Seguir:
        break;
    }
    return -1;
}

void Escribe(std::FILE* salida, const QString& texto)
{
    std::fputs(texto.toLocal8Bit().constData(), salida);
    std::fflush(salida);
}
