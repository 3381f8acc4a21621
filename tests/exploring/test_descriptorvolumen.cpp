// Volume name and serial read from ISO 9660 images made here with genisoimage,
// the fallback for a device that cannot be read, and the mount table.
#include <QBuffer>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include "exploring/descriptorvolumen.h"
#include "exploring/unidadessistema.h"
#include "support/testsupport.h"

namespace {
constexpr int kSector = 2048;

QByteArray CreaIso(const QString& dir, const QStringList& opciones)
{
    EscribeFichero(dir + "/fuente/Autor/Disco/01 Tema.mp3", "no es audio");
    QProcess p;
    p.start("genisoimage", QStringList{"-quiet", "-input-charset", "utf-8", "-o", dir + "/d.iso"} + opciones +
                               QStringList{dir + "/fuente"});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return LeeFichero(dir + "/d.iso");
}

QByteArray Sector(const QByteArray& imagen, int n) { return imagen.mid(n * kSector, kSector); }

// Four lane sums, modulo 256, read as one big-endian number.
qint32 SerieEsperada(const QByteArray& d)
{
    uchar carriles[4] = {0, 0, 0, 0};
    for (int k = 0; k < 4; ++k) {
        unsigned suma = 0;
        for (int i = k; i < d.size(); i += 4)
            suma += uchar(d[i]);
        carriles[k] = uchar(suma % 256);
    }
    return qFromBigEndian<qint32>(carriles);
}

DescriptorVolumen LeeImagen(const QByteArray& imagen)
{
    QBuffer b;
    b.setData(imagen);
    b.open(QIODevice::ReadOnly);
    return LeeDescriptor(b);
}
}  // namespace

class TestDescriptorVolumen : public QObject {
    Q_OBJECT
private slots:
    void imagenSencillaYSigno();
    void jolietYTerminador();
    void dispositivoIlegible();
    void montajesYUnidades();
};

void TestDescriptorVolumen::imagenSencillaYSigno()
{
    QTemporaryDir dir;
    QByteArray imagen = CreaIso(dir.path(), {"-V", "MI DISCO"});
    QVERIFY2(!imagen.isEmpty(), "genisoimage failed");
    const DescriptorVolumen d = LeeDescriptorDe(dir.path() + "/d.iso");
    QVERIFY(d.leido);
    QCOMPARE(d.nombre, QStringLiteral("MI DISCO"));  // padding blanks removed
    QCOMPARE(d.serie, SerieEsperada(Sector(imagen, 16)));

    // Bytes 884 and 885 lie in the application's area, which nothing reads;
    // 884 adds to the top byte of the serial, 885 to the next one.
    const int base = 16 * kSector;
    const quint32 antes = quint32(d.serie);
    imagen[base + 884] = char(uchar(imagen[base + 884]) + uchar(0xF0 - (antes >> 24)));
    const qint32 negativa = LeeImagen(imagen).serie;
    QCOMPARE(quint32(negativa), (antes & 0xFFFFFFu) | 0xF0000000u);
    QVERIFY(QString::number(negativa).startsWith('-'));
    // Each byte is its own 8-bit sum: no carry into the next.
    imagen[base + 885] = char(uchar(imagen[base + 885]) + 1);
    const quint32 n = quint32(negativa);
    QCOMPARE(quint32(LeeImagen(imagen).serie), (n & 0xFF00FFFFu) | ((((n >> 16) + 1) & 0xFFu) << 16));
}

void TestDescriptorVolumen::jolietYTerminador()
{
    QTemporaryDir dir;
    const QString nombre = QStringLiteral("Canción Ñandú");
    const QByteArray imagen = CreaIso(dir.path(), {"-J", "-V", nombre});
    QVERIFY2(!imagen.isEmpty(), "genisoimage failed");
    QCOMPARE(quint8(Sector(imagen, 17)[0]), quint8(2));
    const DescriptorVolumen d = LeeImagen(imagen);
    QCOMPARE(d.nombre, nombre);
    QCOMPARE(d.serie, SerieEsperada(Sector(imagen, 17)));
    QVERIFY(d.serie != SerieEsperada(Sector(imagen, 16)));

    // Behind a boot record the Joliet descriptor still wins.
    QByteArray arranque(kSector, '\0');
    arranque.replace(1, 5, "CD001");
    QByteArray otra = imagen;
    otra.replace(17 * kSector, kSector, arranque);
    otra.replace(18 * kSector, kSector, Sector(imagen, 17));
    otra.replace(19 * kSector, kSector, Sector(imagen, 18));
    QCOMPARE(LeeImagen(otra).serie, d.serie);

    // The terminator moved ahead of it hides it: the primary one counts.
    otra = imagen;
    otra.replace(17 * kSector, kSector, Sector(imagen, 18));
    otra.replace(18 * kSector, kSector, Sector(imagen, 17));
    QCOMPARE(LeeImagen(otra).serie, SerieEsperada(Sector(imagen, 16)));

    QVERIFY(!LeeImagen(QByteArray(20 * kSector, '\0')).leido);
    QVERIFY(!LeeImagen(imagen.left(16 * kSector + 100)).leido);
}

void TestDescriptorVolumen::dispositivoIlegible()
{
    QTemporaryDir dir;
    const QString raiz = dir.path() + "/MI_CD/";
    EscribeFichero(raiz + "01.mp3", "uno");
    Volumen v;
    v.raiz = raiz;
    CompletaCdRom(v, dir.path() + "/no-hay-dispositivo", "ETIQUETA", 1000);
    QCOMPARE(v.nombre, QStringLiteral("ETIQUETA"));
    Volumen otra = v;
    CompletaCdRom(otra, QString(), QString(), 1000);
    QCOMPARE(otra.nombre, QStringLiteral("MI_CD"));  // no label: the mount folder's name

    // The same disc gives the same serial; other content or label another.
    CompletaCdRom(otra, QString(), "ETIQUETA", 1000);
    QCOMPARE(otra.serie, v.serie);
    CompletaCdRom(otra, QString(), "OTRA", 1000);
    QVERIFY(otra.serie != v.serie);
    EscribeFichero(raiz + "02.mp3", "dos");
    CompletaCdRom(otra, QString(), "ETIQUETA", 1000);
    QVERIFY(otra.serie != v.serie);

    // A readable device: its descriptors win over the label.
    const QByteArray imagen = CreaIso(dir.path(), {"-V", "DEL DISCO"});
    CompletaCdRom(otra, dir.path() + "/d.iso", "ETIQUETA", 1000);
    QCOMPARE(otra.nombre, QStringLiteral("DEL DISCO"));
    QCOMPARE(otra.serie, SerieEsperada(Sector(imagen, 16)));
}

void TestDescriptorVolumen::montajesYUnidades()
{
    const QList<Montaje> m = LeeMontajes("proc /proc proc rw 0 0\n"
                                         "/dev/sr0 /media/yo/MI\\040DISCO iso9660 ro,nosuid 0 0\n"
                                         "/dev/sr1 /media/con\\134barra udf ro 0 0\n\nincompleta\n");
    QCOMPARE(m.size(), 3);
    QCOMPARE(QStringList({m[1].dispositivo, m[1].punto, m[1].tipo}),
             QStringList({"/dev/sr0", "/media/yo/MI DISCO", "iso9660"}));
    QCOMPARE(m[2].punto, QStringLiteral("/media/con\\barra"));

    // This machine: the volume chosen at start holds the current folder.
    UnidadesSistema u;
    const QList<Volumen> l = u.Lista();
    const int actual = u.Actual();
    QVERIFY(actual >= 0 && actual < l.size());
    QVERIFY((QDir::currentPath() + "/").startsWith(l[actual].raiz));
}

QTEST_GUILESS_MAIN(TestDescriptorVolumen)
#include "test_descriptorvolumen.moc"
