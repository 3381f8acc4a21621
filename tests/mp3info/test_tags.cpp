// ID3v1 tags written and blanked byte for byte, and read back by an independent reader;
// the ID3v2.4 tag written beside them.
#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

#include "common/lodrinerror.h"
#include "mp3info/etiquetas.h"
#include "mp3info/tagid3.h"
#include "support/etiquetasprueba.h"
#include "support/mp3s.h"
#include "support/testsupport.h"

namespace {

const QByteArray kComentario("TAG puesto por Brenvo by Tarn'");

void Pon(const QString& ruta, const QString& titulo, const QString& artista, const QString& album)
{
    PonTag(ruta, titulo, artista, album, QStringLiteral("    "), kComentarioTag, QStringLiteral("0"));
}

// What "Poner Tag's" does to a file: ID3v2.4 and ID3v1.
void PonAmbas(const QString& ruta) { PonEtiquetas(ruta, {"A", "D", "T", "1", false}); }

// Copies the tag writer works in, left behind in a folder.
QStringList Restos(const QString& carpeta)
{
    return QDir(carpeta).entryList({QStringLiteral("*.lodrin-*")}, QDir::Files | QDir::Hidden);
}

// Tags made byte by byte, as the writers that damage them leave them.
QByteArray Tamano(quint32 v, bool syncsafe)
{
    QByteArray b(4, '\0');
    for (int i = 3; i >= 0; --i, v >>= syncsafe ? 7 : 8)
        b[i] = char(v & (syncsafe ? 0x7F : 0xFF));
    return b;
}

// A text frame of ID3v2.3 (plain size) or 2.4 (syncsafe); codigo 0 is
// Latin-1, 3 UTF-8.
QByteArray Marco(const char* id, const QByteArray& texto, int version = 3, char codigo = 0)
{
    const QByteArray cuerpo = codigo + texto;
    return QByteArray(id) + Tamano(quint32(cuerpo.size()), version == 4) + QByteArray(2, '\0') + cuerpo;
}

QByteArray Id3v2(const QByteArray& marcos, int version = 3, char banderas = 0, const QByteArray& extendida = {})
{
    const QByteArray cuerpo = extendida + marcos + QByteArray(64, '\0');
    return "ID3" + QByteArray(1, char(version)) + '\0' + banderas + Tamano(quint32(cuerpo.size()), true) + cuerpo;
}

// An APEv2 tag (footer only) with the given items.
QByteArray Ape(const QList<std::pair<QByteArray, QByteArray>>& items)
{
    auto le = [](quint32 v) {
        QByteArray b(4, '\0');
        for (int i = 0; i < 4; ++i, v >>= 8)
            b[i] = char(v & 0xFF);
        return b;
    };
    QByteArray cuerpo;
    for (const auto& [clave, valor] : items)
        cuerpo += le(quint32(valor.size())) + le(0) + clave + '\0' + valor;
    return cuerpo + "APETAGEX" + le(2000) + le(quint32(cuerpo.size() + 32)) + le(quint32(items.size())) + le(0) +
           QByteArray(8, '\0');
}

QByteArray Cola(const QByteArray& d)
{
    return d.right(128);
}

}  // namespace

class TestTags : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QByteArray audio;

    QString Copia(const QString& nombre, const QByteArray& contenido)
    {
        return EscribeFichero(dir.filePath(nombre), contenido);
    }

private slots:
    void initTestCase();
    void fieldsAreFittedLatin1();
    void appendThenRewriteInPlace();
    void emptyFieldsGiveBlanks();
    void blankingKeepsLengthAndGenre();
    void readBackByIndependentReader();
    void readsId3v2AndApe_data();
    void readsId3v2AndApe();
    void damagedTagsRead_data();
    void damagedTagsRead();
    void id3v24WrittenBesideId3v1KeepingOtherFrames();
    void failuresLeaveTheFileAsItWas_data();
    void failuresLeaveTheFileAsItWas();
};

void TestTags::initTestCase()
{
    const QString ruta = CreaMp3(dir.filePath("fuente.mp3"), 2.3, {"-b", "96"});
    QVERIFY(!ruta.isEmpty());
    audio = LeeFichero(ruta);
    QVERIFY(audio.size() > 1000);
}

void TestTags::fieldsAreFittedLatin1()
{
    QCOMPARE(kComentarioTag.toLatin1(), kComentario);
    QCOMPARE(CampoTag(QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789"), 30),
             QByteArray("abcdefghijklmnopqrstuvwxyz0123"));
    QCOMPARE(CampoTag(QStringLiteral("Año"), 6), QByteArray("A\xF1o   "));
    // Outside ISO-8859-1 a character is one '?', also beyond the basic plane.
    QCOMPARE(CampoTag(QString::fromUtf8("5 € \U0001F3B5!"), 8), QByteArray("5 ? ?!  "));
    QCOMPARE(CampoTag(QString(), 4), QByteArray("    "));
    QCOMPARE(CampoTag(QStringLiteral("Zoë Ñandú"), 4), QByteArray("Zo\xEB "));
    // A combining accent is composed first: one letter, one byte.
    QCOMPARE(CampoTag(QString::fromUtf8("Cancio\u0301n"), 8), QByteArray("Canci\xF3n "));
}

void TestTags::appendThenRewriteInPlace()
{
    const QString ruta = Copia("sin_tag.mp3", audio);
    QVERIFY(!TieneTag(ruta));
    const QString larga = QStringLiteral("Una canción de treinta y cinco letras").left(35);
    Pon(ruta, larga, QStringLiteral("Autor"), QStringLiteral("Disco"));
    QByteArray d = LeeFichero(ruta);
    QCOMPARE(d.size(), audio.size() + 128);
    QVERIFY(d.startsWith(audio));
    QCOMPARE(Cola(d), QByteArray("TAG") + QByteArray("Una canci\xF3n de treinta y cinco") +
                          QByteArray("Autor").leftJustified(30) + QByteArray("Disco").leftJustified(30) + "    " +
                          kComentario + "0");
    QVERIFY(TieneTag(ruta));

    Pon(ruta, QStringLiteral("Otra"), QStringLiteral("B"), QStringLiteral("C"));
    d = LeeFichero(ruta);
    QCOMPARE(d.size(), audio.size() + 128);
    QVERIFY(d.startsWith(audio));
    QCOMPARE(Cola(d).mid(3, 30), QByteArray("Otra").leftJustified(30));
    QCOMPARE(Cola(d).mid(33, 30), QByteArray("B").leftJustified(30));
}

void TestTags::emptyFieldsGiveBlanks()
{
    const QString ruta = Copia("vacio.mp3", audio);
    Pon(ruta, QString(), QString(), QString());
    QCOMPARE(Cola(LeeFichero(ruta)), QByteArray("TAG") + QByteArray(94, ' ') + kComentario + "0");
    // A tiny file (shorter than a tag) gets one appended too.
    const QString corto = Copia("corto.mp3", "abc");
    Pon(corto, QString(), QString(), QString());
    QCOMPARE(LeeFichero(corto).size(), 3 + 128);
    QVERIFY(LeeFichero(corto).startsWith("abcTAG"));
}

void TestTags::blankingKeepsLengthAndGenre()
{
    QByteArray etiquetado = audio + "TAG" + QByteArray(124, 'x') + char(17);
    const QString ruta = Copia("etiquetado.mp3", etiquetado);
    BorraTag(ruta);
    QByteArray d = LeeFichero(ruta);
    QCOMPARE(d.size(), etiquetado.size());
    QVERIFY(d.startsWith(audio));
    QCOMPARE(Cola(d), QByteArray(127, '\0') + char(17));
    QVERIFY(!TieneTag(ruta));

    // No tag any more: blanking again changes nothing, writing appends after the blanked block.
    BorraTag(ruta);
    QCOMPARE(LeeFichero(ruta), d);
    Pon(ruta, QStringLiteral("T"), QStringLiteral("A"), QStringLiteral("D"));
    QCOMPARE(LeeFichero(ruta).size(), etiquetado.size() + 128);
    QVERIFY(LeeFichero(ruta).startsWith(d));

    const QString sinTag = Copia("sin_tag2.mp3", audio);
    BorraTag(sinTag);
    QCOMPARE(LeeFichero(sinTag), audio);
}

void TestTags::readBackByIndependentReader()
{
    const QString ruta = Copia("leido.mp3", audio);
    Pon(ruta, QStringLiteral("Canción del Año"), QStringLiteral("Los Niños €"), QStringLiteral("Álbum"));
    QProcess p;
    p.start(QStringLiteral("id3v2"), {QStringLiteral("-l"), ruta});
    QVERIFY(p.waitForFinished(30000));
    const QString salida = QString::fromLatin1(p.readAllStandardOutput());
    QVERIFY2(salida.contains(QStringLiteral("Title  : Canción del Año")), qPrintable(salida));
    QVERIFY2(salida.contains(QStringLiteral("Artist: Los Niños ?")), qPrintable(salida));
    QVERIFY2(salida.contains(QStringLiteral("Album  : Álbum")), qPrintable(salida));
    QVERIFY2(salida.contains(QStringLiteral("Comment: TAG puesto por Brenvo by Tarn'")), qPrintable(salida));
}

void TestTags::readsId3v2AndApe_data()
{
    QTest::addColumn<int>("clase");
    QTest::addColumn<QString>("formatoPortada");  // the cover's kind; empty: none
    QTest::addColumn<QString>("extension");       // the cover as a picture file
    QTest::newRow("ID3v2.3, UTF-16") << int(ClaseEtiqueta::Id3v23) << "JPEG" << ".jpg";
    QTest::newRow("ID3v2.4, UTF-8, no cover") << int(ClaseEtiqueta::Id3v24) << "" << "";
    QTest::newRow("APEv2, a GIF") << int(ClaseEtiqueta::Ape) << "GIF" << ".gif";
    QTest::newRow("ID3v2.4, a PNG becomes JPEG") << int(ClaseEtiqueta::Id3v24) << "PNG" << ".jpg";
}

void TestTags::readsId3v2AndApe()
{
    QFETCH(int, clase);
    QFETCH(QString, formatoPortada);
    QFETCH(QString, extension);
    QByteArray portada;
    if (formatoPortada == "PNG") {
        QImage imagen(30, 20, QImage::Format_RGB32);
        imagen.fill(Qt::darkCyan);
        QBuffer b(&portada);
        b.open(QIODevice::WriteOnly);
        QVERIFY(imagen.save(&b, "PNG"));
    } else if (!formatoPortada.isEmpty()) {
        portada = LeeFichero(CreaImagen(dir.filePath("portada." + formatoPortada.toLower())));
    }
    const QString ruta = CreaMp3Etiquetado(dir.filePath(QString("Ñandú %1.mp3").arg(QTest::currentDataTag())), audio,
                                           ClaseEtiqueta(clase),
                                           {"Coro Añil", "Álbum del Ñandú", "Varios Coros", "Canción de cuna", 7, portada, ""});
    EtiquetasFichero e;
    QVERIFY(LeeEtiquetas(ruta, e));
    QCOMPARE((QStringList{e.artista, e.album, e.artistaAlbum, e.titulo}),
             (QStringList{"Coro Añil", "Álbum del Ñandú", "Varios Coros", "Canción de cuna"}));
    QCOMPARE(e.pista, 7);
    QCOMPARE(e.portada, !portada.isEmpty());
    const PortadaFichero p = DamePortada(ruta);
    QCOMPARE(p.extension, extension);
    if (formatoPortada == "PNG")
        QCOMPARE(QImage::fromData(p.bytes, "JPEG").size(), QSize(30, 20));
    else
        QCOMPARE(p.bytes, portada);
    // A file without tags says nothing; a named pipe is not waited on.
    QVERIFY(!LeeEtiquetas(Copia("sin.mp3", audio), e));
    const QString fifo = dir.filePath(QString("tuberia %1.mp3").arg(QTest::currentDataTag()));
    QVERIFY(mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    QVERIFY(!LeeEtiquetas(fifo, e));
    QVERIFY(DamePortada(fifo).bytes.isEmpty());
}

// Tags TagLib reads wrong or not at all, and tags of both kinds at once.
void TestTags::damagedTagsRead_data()
{
    QTest::addColumn<QByteArray>("delante");
    QTest::addColumn<QByteArray>("detras");
    QTest::addColumn<QStringList>("textos");  // artist, album, title
    QTest::addColumn<int>("pista");
    const QByteArray marcos = Marco("TPE1", "Coro A\xF1il") + Marco("TALB", "\xC1lbum del \xD1" "and\xFA") +
                              Marco("TIT2", "Canci\xF3n de cuna") + Marco("TRCK", "03");
    const QStringList todos{"Coro Añil", "Álbum del Ñandú", "Canción de cuna"};
    QTest::newRow("extended header, track last") << Id3v2(marcos, 3, 0x40, Tamano(6, false) + QByteArray(6, '\0'))
                                                  << QByteArray() << todos << 3;
    QTest::newRow("first frame of size 0")
        << Id3v2("POPM" + QByteArray(6, '\0') + marcos) << QByteArray() << todos << 3;
    QTest::newRow("a stray byte in a UTF-8 album")
        << Id3v2(Marco("TPE1", "Coro Añil", 4, 3) + Marco("TALB", "\xC1lbum del Ñandú", 4, 3) +
                 Marco("TIT2", "Canción de cuna", 4, 3), 4)
        << QByteArray() << todos << 0;
    QTest::newRow("track past what a position holds")
        << Id3v2(Marco("TPE1", "Coro A\xF1il") + Marco("TRCK", "99999999999")) << QByteArray()
        << QStringList{"Coro Añil", "", ""} << 0;
    QTest::newRow("track that wraps round to 1")
        << Id3v2(Marco("TIT2", "Nana") + Marco("TRCK", "4294967297/12")) << QByteArray() << QStringList{"", "", "Nana"}
        << 0;
    // ID3v2 speaks first; APEv2 fills only what it lacks.
    QTest::newRow("APEv2 behind ID3v2")
        << Id3v2(Marco("TPE1", "Coro A\xF1il") + Marco("TRCK", "5"))
        << Ape({{"Artist", "Otro Coro"}, {"Album", "Álbum del Ñandú"}, {"Title", "Canción de cuna"}, {"Track", "9"}})
        << todos << 5;
}

void TestTags::damagedTagsRead()
{
    QFETCH(QByteArray, delante);
    QFETCH(QByteArray, detras);
    QFETCH(QStringList, textos);
    QFETCH(int, pista);
    EtiquetasFichero e;
    QVERIFY(LeeEtiquetas(Copia("danado.mp3", delante + audio + detras), e));
    QCOMPARE((QStringList{e.artista, e.album, e.titulo}), textos);
    QCOMPARE(e.pista, pista);
}

void TestTags::id3v24WrittenBesideId3v1KeepingOtherFrames()
{
    const QByteArray portada = LeeFichero(CreaImagen(dir.filePath("portada.jpg")));
    const QString ruta = CreaMp3Etiquetado(dir.filePath("etiquetado.mp3"), audio, ClaseEtiqueta::Id3v23,
                                           {"Viejo", "Disco viejo", "", "Título viejo", 9, portada, "De siempre"});
    PonEtiquetas(ruta, {"Coro Añil", "Álbum del Ñandú", "Canción de cuna con un título de más de treinta letras", "02", true});
    const QMap<QString, QString> m = MarcosId3v2(ruta);
    QCOMPARE(m.value("version"), QString("4"));
    QCOMPARE(m.value("TPE1"), QString("Coro Añil"));
    QCOMPARE(m.value("TALB"), QString("Álbum del Ñandú"));
    QCOMPARE(m.value("TIT2"), QString("Canción de cuna con un título de más de treinta letras"));
    QCOMPARE(m.value("TRCK"), QString("2"));
    QCOMPARE(m.value("TPE2"), QString("<Varios Artistas>"));
    QCOMPARE(m.value("COMM"), QString("De siempre"));
    QCOMPARE(m.value("APIC"), QString::number(portada.size()));
    // Then the audio as it was, then the ID3v1 tag.
    QCOMPARE(SinId3v2(LeeFichero(ruta)),
             audio + BloqueTag("Canción de cuna con un título de más de treinta letras", "Coro Añil",
                               "Álbum del Ñandú", "    ", kComentarioTag, "0"));
    QVERIFY(Restos(dir.path()).isEmpty());
}

void TestTags::failuresLeaveTheFileAsItWas_data()
{
    QTest::addColumn<QString>("ruta");
    QTest::addColumn<int>("limiteKiB");  // a child process writes under this file size limit; 0: no child
    QTest::addColumn<QString>("motivo");
    // 50 bytes of the tag would still fit under the limit.
    QTest::newRow("size limit") << Copia("limite.mp3", audio.left(8192 - 50)) << 8
                                << QStringLiteral("el fichero es demasiado grande");
    QTest::newRow("missing") << dir.filePath("borrado.mp3") << 0 << QStringLiteral("el fichero no existe");
    QTest::newRow("folder") << dir.path() << 0 << QStringLiteral("es una carpeta");
    const QString fifo = dir.filePath("fifo.mp3");
    QVERIFY(mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    QTest::newRow("fifo") << fifo << 0 << QStringLiteral("no es un fichero normal");
    QTest::newRow("device") << QStringLiteral("/dev/full") << 0 << QStringLiteral("no es un fichero normal");
    // Causes without a word of their own once showed as a bare system number.
    const QString bucle = dir.filePath("bucle.mp3");
    QFile::link(bucle, bucle);
    QTest::newRow("link loop") << bucle << 0 << QStringLiteral("la ruta tiene demasiados enlaces simbólicos");
    QTest::newRow("name too long") << dir.filePath(QString(300, u'n') + ".mp3") << 0
                                   << QStringLiteral("la ruta es demasiado larga");
    // Permissions do not hold back the superuser.
    if (geteuid() != 0) {
        const QString soloLectura = Copia("solo_lectura.mp3", audio + BloqueTag("a", "b", "c", "    ", "x", "0"));
        QFile::setPermissions(soloLectura, QFile::ReadOwner);
        QTest::newRow("read-only") << soloLectura << 0 << QStringLiteral("permiso denegado");
    }
}

void TestTags::failuresLeaveTheFileAsItWas()
{
    QFETCH(QString, ruta);
    QFETCH(int, limiteKiB);
    QFETCH(QString, motivo);
    const bool regular = QFileInfo(ruta).isFile();
    const QByteArray antes = regular ? LeeFichero(ruta) : QByteArray();
    const bool existia = QFileInfo::exists(ruta);
    const QString esperado = QStringLiteral("No se puede escribir el tag del fichero:\n") + ruta + u'\n' + motivo;
    if (limiteKiB > 0) {
        for (const char* que : {"--pon-tag", "--pon-etiquetas"}) {
            QProcess hijo;
            hijo.start(QStringLiteral("bash"), {"-c", "ulimit -f \"$1\" && exec \"$0\" \"$3\" \"$2\"",
                                                QCoreApplication::applicationFilePath(), QString::number(limiteKiB),
                                                ruta, QString::fromLatin1(que)});
            QVERIFY(hijo.waitForFinished(60000));
            QCOMPARE(hijo.exitStatus(), QProcess::NormalExit);  // the limit's signal did not end it
            QCOMPARE(hijo.exitCode(), 3);
            QCOMPARE(QString::fromUtf8(hijo.readAllStandardOutput()), esperado);
        }
    } else {
        for (int modo = 0; modo < 3; ++modo) {
            try {
                modo == 0 ? Pon(ruta, "a", "b", "c") : modo == 1 ? BorraTag(ruta) : PonAmbas(ruta);
                QFAIL("no error");
            } catch (const LodrinError& e) {
                QCOMPARE(e.message(), esperado);
            }
        }
    }
    QCOMPARE(QFileInfo::exists(ruta), existia);
    if (regular)
        QCOMPARE(LeeFichero(ruta), antes);
    QVERIFY(Restos(dir.path()).isEmpty());
}

// The size-limit case runs PonTag in a child process, under the limit its
// shell set; everything else is the ordinary test run.
int main(int argc, char** argv)
{
    if (argc == 3 && (qstrcmp(argv[1], "--pon-tag") == 0 || qstrcmp(argv[1], "--pon-etiquetas") == 0)) {
        try {
            if (qstrcmp(argv[1], "--pon-tag") == 0)
                Pon(QString::fromLocal8Bit(argv[2]), "T", "A", "D");
            else
                PonAmbas(QString::fromLocal8Bit(argv[2]));
            return 0;
        } catch (const LodrinError& e) {
            std::fputs(e.message().toUtf8().constData(), stdout);
            return 3;
        }
    }
    QCoreApplication app(argc, argv);
    TestTags t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}

#include "test_tags.moc"
