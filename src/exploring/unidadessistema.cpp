#include "exploring/unidadessistema.h"

#include <QDir>
#include <QFile>
#include <QStorageInfo>

#include "common/rutas.h"
#include "exploring/descriptorvolumen.h"

namespace {

// The table writes blanks, tabs, newlines and backslashes as \ooo.
QString DesEscapa(const QByteArray& campo)
{
    QByteArray r;
    r.reserve(campo.size());
    for (int i = 0; i < campo.size(); ++i) {
        if (campo[i] == '\\' && i + 3 < campo.size()) {
            const QByteArray oct = campo.mid(i + 1, 3);
            bool ok = oct.size() == 3;
            for (char c : oct)
                ok = ok && c >= '0' && c <= '7';
            if (ok) {
                r += char(oct.toInt(nullptr, 8));
                i += 3;
                continue;
            }
        }
        r += campo[i];
    }
    return QString::fromUtf8(r);
}

QString SinSeparadorFinal(QString ruta)
{
    while (ruta.size() > 1 && ruta.endsWith(QLatin1Char('/')))
        ruta.chop(1);
    return ruta;
}

}  // namespace

QList<Montaje> LeeMontajes(const QByteArray& tabla)
{
    QList<Montaje> r;
    for (const QByteArray& linea : tabla.split('\n')) {
        const QList<QByteArray> c = linea.simplified().split(' ');
        if (c.size() < 3)
            continue;
        r.append({DesEscapa(c[0]), DesEscapa(c[1]), DesEscapa(c[2])});
    }
    return r;
}

void CompletaCdRom(Volumen& v, const QString& dispositivo, const QString& etiqueta, qint64 bytesTotales)
{
    const DescriptorVolumen d = LeeDescriptorDe(dispositivo);
    if (d.leido) {
        v.nombre = d.nombre;
        v.serie = d.serie;
        return;
    }
    QString nombre = etiqueta;
    if (nombre.isEmpty())
        nombre = QDir(SinSeparadorFinal(QDir::fromNativeSeparators(v.raiz))).dirName();
    v.nombre = nombre;
    v.serie = SerieDerivada(v.raiz, nombre, bytesTotales);
}

QList<Volumen> UnidadesSistema::Lista()
{
    QList<Montaje> montajes;
    QFile tabla(QStringLiteral("/proc/self/mounts"));
    if (tabla.open(QIODevice::ReadOnly))
        montajes = LeeMontajes(tabla.readAll());

    QList<Volumen> lista;
    for (const QStorageInfo& s : QStorageInfo::mountedVolumes()) {
        Volumen v;
        v.raiz = rutas::ConSeparador(s.rootPath());
        v.sistemaFicheros = QString::fromLatin1(s.fileSystemType());
        v.lista = s.isValid() && s.isReady();
        v.nombre = s.name();
        QString dispositivo = QString::fromLocal8Bit(s.device());
        // A later line for the same mount point hides the earlier ones.
        for (const Montaje& m : montajes)
            if (SinSeparadorFinal(m.punto) == SinSeparadorFinal(s.rootPath())) {
                dispositivo = m.dispositivo;
                v.sistemaFicheros = m.tipo;
            }
        if (v.EsCdRom() && v.lista)
            CompletaCdRom(v, dispositivo, s.name(), s.bytesTotal());
        lista << v;
    }
    return lista;
}

int UnidadesSistema::Actual()
{
    const QString raiz = rutas::ConSeparador(QStorageInfo(QDir::currentPath()).rootPath());
    const QList<Volumen> l = Lista();
    for (int i = 0; i < l.size(); ++i)
        if (l[i].raiz == raiz)
            return i;
    return l.isEmpty() ? -1 : 0;
}
