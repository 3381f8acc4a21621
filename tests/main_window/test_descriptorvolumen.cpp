// Volume name and serial read from ISO 9660 images made here with genisoimage,
// the fallback for a device that cannot be read, and the mount table.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include "main_window/descriptorvolumen.h"
#include "main_window/unidadessistema.h"
#include "support/testsupport.h"

namespace {

constexpr int kSector = 2048;

QString CreaIso(const QString& dir, const QString& nombreIso, const QStringList& opciones)
{
    const QString fuente = dir + "/fuente";
    EscribeFichero(fuente + "/Autor/Disco/01 Tema.mp3", "no es audio");
    EscribeFichero(fuente + "/leeme.txt", "hola");
    const QString iso = dir + "/" + nombreIso;
    QProcess p;
    p.start("genisoimage", QStringList{"-quiet", "-input-charset", "utf-8"} + opciones + QStringList{"-o", iso, fuente});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return iso;
}

QByteArray Sector(const QByteArray& imagen, int n) { return imagen.mid(n * kSector, kSector); }

// The serial as the bytes of four lane sums read big-endian.
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
    void imagenSencilla();
    void imagenJolietGanaAlPrimario();
    void paraEnElTerminador();
    void signoDeLaSerie();
    void dispositivoIlegible();
    void tablaDeMontajes();
    void unidadesDeEstaMaquina();
};

void TestDescriptorVolumen::imagenSencilla()
{
    QTemporaryDir dir;
    const QString iso = CreaIso(dir.path(), "sencilla.iso", {"-V", "MI DISCO"});
    QVERIFY2(!iso.isEmpty(), "genisoimage failed");
    const DescriptorVolumen d = LeeDescriptorDe(iso);
    QVERIFY(d.leido);
    QCOMPARE(d.nombre, QStringLiteral("MI DISCO"));  // padding blanks removed
    const QByteArray imagen = LeeFichero(iso);
    QCOMPARE(d.serie, SerieEsperada(Sector(imagen, 16)));
    QCOMPARE(SerieDeDescriptor(Sector(imagen, 16)), d.serie);
}

void TestDescriptorVolumen::imagenJolietGanaAlPrimario()
{
    QTemporaryDir dir;
    const QString nombre = QStringLiteral("Canción Ñandú");
    const QString iso = CreaIso(dir.path(), "joliet.iso", {"-J", "-V", nombre});
    QVERIFY2(!iso.isEmpty(), "genisoimage failed");
    const QByteArray imagen = LeeFichero(iso);
    QCOMPARE(quint8(Sector(imagen, 17)[0]), quint8(2));
    const DescriptorVolumen d = LeeDescriptorDe(iso);
    QVERIFY(d.leido);
    QCOMPARE(d.nombre, nombre);
    QCOMPARE(d.serie, SerieEsperada(Sector(imagen, 17)));
    QVERIFY(d.serie != SerieEsperada(Sector(imagen, 16)));

    // With a boot record ahead of it the Joliet descriptor still wins.
    QByteArray conArranque = imagen;
    QByteArray arranque(kSector, '\0');
    arranque.replace(1, 5, "CD001");
    arranque[6] = 1;
    conArranque.replace(17 * kSector, kSector, arranque);
    conArranque.replace(18 * kSector, kSector, Sector(imagen, 17));
    conArranque.replace(19 * kSector, kSector, Sector(imagen, 18));
    const DescriptorVolumen b = LeeImagen(conArranque);
    QCOMPARE(b.nombre, nombre);
    QCOMPARE(b.serie, d.serie);
}

void TestDescriptorVolumen::paraEnElTerminador()
{
    QTemporaryDir dir;
    const QString iso = CreaIso(dir.path(), "joliet.iso", {"-J", "-V", "TERMINA"});
    QVERIFY2(!iso.isEmpty(), "genisoimage failed");
    const QByteArray imagen = LeeFichero(iso);
    // The terminator moved ahead of the Joliet descriptor hides it.
    QByteArray movida = imagen;
    movida.replace(17 * kSector, kSector, Sector(imagen, 18));
    movida.replace(18 * kSector, kSector, Sector(imagen, 17));
    const DescriptorVolumen d = LeeImagen(movida);
    QVERIFY(d.leido);
    QCOMPARE(d.serie, SerieEsperada(Sector(imagen, 16)));
    QCOMPARE(d.nombre, QStringLiteral("TERMINA"));

    // No descriptor at all: nothing read.
    QVERIFY(!LeeImagen(QByteArray(20 * kSector, '\0')).leido);
    QVERIFY(!LeeImagen(imagen.left(16 * kSector + 100)).leido);
}

void TestDescriptorVolumen::signoDeLaSerie()
{
    QTemporaryDir dir;
    const QString iso = CreaIso(dir.path(), "sencilla.iso", {"-V", "SIGNO"});
    QVERIFY2(!iso.isEmpty(), "genisoimage failed");
    QByteArray imagen = LeeFichero(iso);
    const int base = 16 * kSector;
    // Bytes 884 and 885 lie in the application's area, which nothing reads;
    // 884 adds to the top byte of the serial, 885 to the next one.
    const quint32 antes = quint32(LeeImagen(imagen).serie);
    const uchar top = uchar(antes >> 24);
    imagen[base + 884] = char(uchar(imagen[base + 884]) + uchar(0xF0 - top));
    const qint32 negativa = LeeImagen(imagen).serie;
    QCOMPARE(quint32(negativa) >> 24, 0xF0u);
    QVERIFY(negativa < 0);
    QVERIFY(QString::number(negativa).startsWith('-'));
    QCOMPARE(quint32(negativa) & 0xFFFFFFu, antes & 0xFFFFFFu);

    imagen[base + 885] = char(uchar(imagen[base + 885]) + 1);
    // Each byte of the serial is its own 8-bit sum: no carry into the next.
    const quint32 n = quint32(negativa);
    QCOMPARE(quint32(LeeImagen(imagen).serie), (n & 0xFF00FFFFu) | ((((n >> 16) + 1) & 0xFFu) << 16));

    imagen[base + 884] = char(uchar(imagen[base + 884]) - 0x80);
    QVERIFY(LeeImagen(imagen).serie > 0);
}

void TestDescriptorVolumen::dispositivoIlegible()
{
    QTemporaryDir dir;
    const QString raiz = dir.path() + "/MI_CD/";
    EscribeFichero(raiz + "01.mp3", "uno");
    QVERIFY(!LeeDescriptorDe(dir.path() + "/no-hay-dispositivo").leido);
    QVERIFY(!LeeDescriptorDe(QString()).leido);

    Volumen v;
    v.raiz = raiz;
    v.sistemaFicheros = "iso9660";
    v.lista = true;
    CompletaCdRom(v, dir.path() + "/no-hay-dispositivo", "ETIQUETA", 1000);
    QCOMPARE(v.nombre, QStringLiteral("ETIQUETA"));
    const qint32 primera = v.serie;

    // Without a label, the name of the mount folder.
    Volumen sinEtiqueta = v;
    CompletaCdRom(sinEtiqueta, QString(), QString(), 1000);
    QCOMPARE(sinEtiqueta.nombre, QStringLiteral("MI_CD"));

    // The same disc gives the same serial; another content another one.
    Volumen otra = v;
    CompletaCdRom(otra, QString(), "ETIQUETA", 1000);
    QCOMPARE(otra.serie, primera);
    EscribeFichero(raiz + "02.mp3", "dos");
    CompletaCdRom(otra, QString(), "ETIQUETA", 1000);
    QVERIFY(otra.serie != primera);
    CompletaCdRom(otra, QString(), "OTRA", 1000);
    const qint32 otraEtiqueta = otra.serie;
    CompletaCdRom(otra, QString(), "ETIQUETA", 1000);
    QVERIFY(otra.serie != otraEtiqueta);

    // A readable image as device: its descriptors win over the label.
    const QString iso = CreaIso(dir.path(), "d.iso", {"-V", "DEL DISCO"});
    QVERIFY2(!iso.isEmpty(), "genisoimage failed");
    Volumen conDispositivo = v;
    CompletaCdRom(conDispositivo, iso, "ETIQUETA", 1000);
    QCOMPARE(conDispositivo.nombre, QStringLiteral("DEL DISCO"));
    QCOMPARE(conDispositivo.serie, SerieEsperada(Sector(LeeFichero(iso), 16)));
}

void TestDescriptorVolumen::tablaDeMontajes()
{
    const QByteArray tabla = "proc /proc proc rw,relatime 0 0\n"
                             "/dev/sr0 /media/usuario/MI\\040DISCO iso9660 ro,nosuid 0 0\n"
                             "/dev/sr1 /media/con\\134barra udf ro 0 0\n"
                             "\n"
                             "incompleta\n";
    const QList<Montaje> m = LeeMontajes(tabla);
    QCOMPARE(m.size(), 3);
    QCOMPARE(m[1].dispositivo, QStringLiteral("/dev/sr0"));
    QCOMPARE(m[1].punto, QStringLiteral("/media/usuario/MI DISCO"));
    QCOMPARE(m[1].tipo, QStringLiteral("iso9660"));
    QCOMPARE(m[2].punto, QStringLiteral("/media/con\\barra"));
    QCOMPARE(m[2].tipo, QStringLiteral("udf"));
}

void TestDescriptorVolumen::unidadesDeEstaMaquina()
{
    UnidadesSistema u;
    const QList<Volumen> l = u.Lista();
    QVERIFY(!l.isEmpty());
    const int actual = u.Actual();
    QVERIFY(actual >= 0 && actual < l.size());
    // The current folder lies on the volume chosen at start.
    QVERIFY(QDir::currentPath().startsWith(l[actual].raiz) || QDir::currentPath() + "/" == l[actual].raiz);
    for (const Volumen& v : l)
        QVERIFY(v.raiz.endsWith('/'));
}

QTEST_GUILESS_MAIN(TestDescriptorVolumen)
#include "test_descriptorvolumen.moc"
