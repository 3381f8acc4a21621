#include "exploring/descriptorvolumen.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <algorithm>

namespace {

constexpr int kTipoPrimario = 1;
constexpr int kTipoSuplementario = 2;
constexpr int kTipoTerminador = 255;
constexpr int kOffsetNombre = 40;
constexpr int kLargoNombre = 32;
constexpr int kOffsetEscapes = 88;

bool EsDescriptor(const QByteArray& s)
{
    return s.size() == descriptor::kSector && s.mid(1, 5) == "CD001";
}

// A supplementary descriptor is Joliet when its escape sequences name UCS-2.
bool EsJoliet(const QByteArray& s)
{
    if (quint8(s[0]) != kTipoSuplementario)
        return false;
    const QByteArray esc = s.mid(kOffsetEscapes, 3);
    return esc == "%/@" || esc == "%/C" || esc == "%/E";
}

QString NombreDe(const QByteArray& s)
{
    const QByteArray campo = s.mid(kOffsetNombre, kLargoNombre);
    QString nombre;
    if (EsJoliet(s)) {
        for (int i = 0; i + 1 < campo.size(); i += 2)
            nombre += QChar(char16_t((quint8(campo[i]) << 8) | quint8(campo[i + 1])));
    } else {
        nombre = QString::fromLatin1(campo);
    }
    // Padding is blanks; some writers pad with zeros instead.
    int fin = int(nombre.size());
    while (fin > 0 && (nombre[fin - 1] == QLatin1Char(' ') || nombre[fin - 1] == QChar(0)))
        --fin;
    return nombre.left(fin);
}

}  // namespace

qint32 SerieDeDescriptor(const QByteArray& d)
{
    quint8 suma[4] = {0, 0, 0, 0};
    for (int i = 0; i < d.size(); ++i)
        suma[i % 4] = quint8(suma[i % 4] + quint8(d[i]));
    const quint32 serie = (quint32(suma[0]) << 24) | (quint32(suma[1]) << 16) | (quint32(suma[2]) << 8) |
                          quint32(suma[3]);
    return qint32(serie);
}

DescriptorVolumen LeeDescriptor(QIODevice& dispositivo)
{
    DescriptorVolumen r;
    if (!dispositivo.seek(qint64(descriptor::kPrimerSector) * descriptor::kSector))
        return r;
    QByteArray elegido;
    for (int sector = descriptor::kPrimerSector; sector <= descriptor::kUltimoSector; ++sector) {
        const QByteArray s = dispositivo.read(descriptor::kSector);
        if (!EsDescriptor(s))
            break;
        const int tipo = quint8(s[0]);
        if (tipo == kTipoTerminador)
            break;
        // Only these two types name the volume; boot records and partition
        // descriptors have another layout.
        if (tipo != kTipoPrimario && tipo != kTipoSuplementario)
            continue;
        if (elegido.isEmpty() || tipo > quint8(elegido[0]))
            elegido = s;
    }
    if (elegido.isEmpty())
        return r;
    r.leido = true;
    r.nombre = NombreDe(elegido);
    r.serie = SerieDeDescriptor(elegido);
    return r;
}

DescriptorVolumen LeeDescriptorDe(const QString& rutaDispositivo)
{
    QFile f(rutaDispositivo);
    if (rutaDispositivo.isEmpty() || !f.open(QIODevice::ReadOnly))
        return {};
    return LeeDescriptor(f);
}

qint32 SerieDerivada(const QString& raiz, const QString& etiqueta, qint64 bytesTotales)
{
    QCryptographicHash h(QCryptographicHash::Sha1);
    h.addData(etiqueta.toUtf8());
    h.addData(QByteArray("\n") + QByteArray::number(bytesTotales) + '\n');
    QFileInfoList entradas =
        QDir(raiz).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    std::sort(entradas.begin(), entradas.end(),
              [](const QFileInfo& a, const QFileInfo& b) { return a.fileName() < b.fileName(); });
    for (const QFileInfo& e : entradas) {
        h.addData(e.fileName().toUtf8());
        h.addData(QByteArray("|") + QByteArray::number(e.isDir() ? -1 : e.size()) + '\n');
    }
    const QByteArray d = h.result();
    const quint32 serie = (quint32(quint8(d[0])) << 24) | (quint32(quint8(d[1])) << 16) |
                          (quint32(quint8(d[2])) << 8) | quint32(quint8(d[3]));
    return qint32(serie);
}
