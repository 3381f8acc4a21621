// ID3v1 tags written and blanked byte for byte, and read back by an independent reader;
// the ID3v2.4 tag written beside them.
#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "common/avance.h"
#include "common/diario.h"
#include "common/lodrinerror.h"
#include "mp3info/etiquetas.h"
#include "mp3info/tagid3.h"
#include "worklist/listatrabajo.h"
#include "worklist/tagslista.h"
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

// What a tag write may leave behind: copies beside the file, or records in
// the journal.
QStringList Restos(const QString& carpeta)
{
    return QDir(carpeta).entryList({QStringLiteral("*.lodrin-*")}, QDir::Files | QDir::Hidden) +
           QDir(CarpetaDiario()).entryList(QDir::Files | QDir::Hidden);
}

const DatosEtiquetas kNuevas{"Coro Añil", "Álbum del Ñandú", "Nana del Ñandú", "3", false};

class SinAvance : public Avance {
public:
    void Empieza(int) override {}
    void Avanza(int) override {}
    void Termina() override {}
};

// "Poner Tag's" over every MP3 of a folder, as the window runs it.
void PonEnCarpeta(const QString& carpeta)
{
    ListaTrabajo l;
    l.PonOrdenada(false);
    for (const QString& f : QDir(carpeta).entryList({QStringLiteral("*.mp3")}, QDir::Files, QDir::Name)) {
        const int i = l.Anade(f, QDir(carpeta).filePath(f), QStringLiteral("f"), QStringLiteral("Mp3"));
        l.PonSubItem(i, columna::kAutor, kNuevas.autor);
        l.PonSubItem(i, columna::kDisco, kNuevas.disco);
        l.PonSubItem(i, columna::kCancion, f);
        l.PonSubItem(i, columna::kPosicion, kNuevas.posicion);
    }
    SinAvance avance;
    AvisosAnotados avisos;
    PonTagsLista(l, avance, avisos);
}

// A version 2.3 tag holding a title and a relative volume frame, which the
// tag library drops when it reads the tag.
const QByteArray kRvad = QByteArray("RVAD\0\0\0\x0a\0\0", 10) + QByteArray("\x03\x10\x12\x34\x0f\xed\0\0\0\0", 10);
QByteArray EtiquetaV23ConRvad()
{
    const QByteArray marcos = QByteArray("TIT2\0\0\0\x06\0\0\0Viejo", 16) + kRvad + QByteArray(64, '\0');
    return QByteArray("ID3\x03\0\0\0\0", 8) + char(marcos.size() >> 7) + char(marcos.size() & 0x7F) + marcos;
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
    void id3v2WrittenBesideId3v1KeepingOtherFrames();
    void failuresLeaveTheFileAsItWas_data();
    void failuresLeaveTheFileAsItWas();
    void fileSystemCasesKeepTheFile();
    void killedBatchLeavesEachFileOldOrNew();
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
    BorraEtiquetas(ruta);
    QByteArray d = LeeFichero(ruta);
    QCOMPARE(d.size(), etiquetado.size());
    QVERIFY(d.startsWith(audio));
    QCOMPARE(Cola(d), QByteArray(127, '\0') + char(17));
    QVERIFY(!TieneTag(ruta));

    // No tag any more: blanking again changes nothing, writing appends after the blanked block.
    BorraEtiquetas(ruta);
    QCOMPARE(LeeFichero(ruta), d);
    Pon(ruta, QStringLiteral("T"), QStringLiteral("A"), QStringLiteral("D"));
    QCOMPARE(LeeFichero(ruta).size(), etiquetado.size() + 128);
    QVERIFY(LeeFichero(ruta).startsWith(d));

    const QString sinTag = Copia("sin_tag2.mp3", audio);
    BorraEtiquetas(sinTag);
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

void TestTags::id3v2WrittenBesideId3v1KeepingOtherFrames()
{
    const QByteArray portada = LeeFichero(CreaImagen(dir.filePath("portada.jpg")));
    const QString ruta = CreaMp3Etiquetado(dir.filePath("etiquetado.mp3"), audio, ClaseEtiqueta::Id3v23,
                                           {"Viejo", "Disco viejo", "", "Título viejo", 9, portada, "De siempre"});
    PonEtiquetas(ruta, {"Coro Añil", "Álbum del Ñandú", "Canción de cuna con un título de más de treinta letras", "02", true});
    const QMap<QString, QString> m = MarcosId3v2(ruta);
    // A 2.3 tag stays 2.3; a file without one gets 2.4.
    QCOMPARE(m.value("version"), QString("3"));
    const QString sinEtiqueta = Copia("sin_id3v2.mp3", audio);
    PonEtiquetas(sinEtiqueta, kNuevas);
    QCOMPARE(MarcosId3v2(sinEtiqueta).value("version"), QString("4"));
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

    // "Borrar tag's" takes off what Poner wrote, and only that; the ID3v1
    // tag is blanked, the audio stays.
    BorraEtiquetas(ruta);
    const QMap<QString, QString> b = MarcosId3v2(ruta);
    for (const char* id : {"TPE1", "TALB", "TIT2", "TRCK", "TPE2"})
        QVERIFY2(!b.contains(id), id);
    QCOMPARE(b.value("COMM"), QString("De siempre"));
    QCOMPARE(b.value("APIC"), QString::number(portada.size()));
    const QByteArray sinV2 = SinId3v2(LeeFichero(ruta));
    QCOMPARE(sinV2, audio + QByteArray(127, '\0') + '0');
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
    const QString soloLectura = Copia("solo_lectura.mp3", audio + BloqueTag("a", "b", "c", "    ", "x", "0"));
    QFile::setPermissions(soloLectura, QFile::ReadOwner);
    QTest::newRow("read-only") << soloLectura << 0 << QStringLiteral("permiso denegado");
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
            // The whole new file goes to the journal first, which meets the limit.
            const QString salida = QString::fromUtf8(hijo.readAllStandardOutput());
            if (qstrcmp(que, "--pon-tag") == 0)
                QCOMPARE(salida, esperado);
            else
                QVERIFY2(salida.startsWith(FallaEtiquetas(ruta, "no se puede escribir en el diario ")) &&
                             salida.endsWith(motivo),
                         qPrintable(salida));
        }
    } else {
        // Permissions hold back the superuser too here.
        const SinPrivilegios sinPrivilegios;
        for (int modo = 0; modo < 3; ++modo) {
            try {
                modo == 0 ? Pon(ruta, "a", "b", "c") : modo == 1 ? BorraEtiquetas(ruta) : PonAmbas(ruta);
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

// Links, odd folders and names, attributes, a full disc, frames the tag
// library drops, a damaged tag: the file is tagged through its own inode,
// loses nothing, and nothing is left behind; or it is refused untouched.
void TestTags::fileSystemCasesKeepTheFile()
{
    struct Caso {
        const char* nombre;
        std::function<QString()> prepara;             // the path to tag
        std::function<void(const QString&)> comprueba;  // after a write that worked
        QString falla;                                  // the expected refusal, if any
    };
    const QString lleno = dir.filePath("lleno");
    QDir().mkpath(lleno);
    const bool montado = ::mount("tmpfs", QFile::encodeName(lleno).constData(), "tmpfs", 0, "size=1m") == 0;
    auto deja64k = [&] {
        // The disc is filled up to its last 64 kB.
        struct statvfs v {};
        ::statvfs(QFile::encodeName(lleno).constData(), &v);
        const qint64 libre = qint64(v.f_bavail) * v.f_frsize;
        EscribeFichero(lleno + "/relleno", QByteArray(int(qMax<qint64>(0, libre - 64 * 1024)), 'r'));
    };
    ino_t inodo = 0;
    const QByteArray grande = audio.repeated(1024 * 1024 / audio.size() + 1);
    const std::vector<Caso> casos = {
        {"hard link", [&] {
             const QString f = Copia("duro.mp3", audio);
             ::link(QFile::encodeName(f).constData(), QFile::encodeName(dir.filePath("duro2.mp3")).constData());
             return f;
         }, [&](const QString&) { QCOMPARE(MarcosId3v2(dir.filePath("duro2.mp3")).value("TPE1"), kNuevas.autor); }},
        {"writable file in a read-only folder", [&] {
             const QString f = Copia("solo/lectura.mp3", audio);
             QFile::setPermissions(dir.filePath("solo"), QFile::ReadOwner | QFile::ExeOwner);
             return f;
         }, [&](const QString&) {}},
        {"255-byte name", [&] { return Copia(QString(251, u'n') + ".mp3", audio); }, [&](const QString&) {}},
        {"extended attribute", [&] {
             const QString f = Copia("atributo.mp3", audio);
             ::setxattr(QFile::encodeName(f).constData(), "user.lodrin.cd", "CD 7", 4, 0);
             return f;
         }, [&](const QString& f) {
             char b[16] = {};
             QCOMPARE(::getxattr(QFile::encodeName(f).constData(), "user.lodrin.cd", b, sizeof b), ssize_t(4));
             QCOMPARE(QByteArray(b), QByteArray("CD 7"));
         }},
        {"symbolic link", [&] {
             Copia("destino.mp3", audio);
             QFile::link(dir.filePath("destino.mp3"), dir.filePath("enlace.mp3"));
             return dir.filePath("enlace.mp3");
         }, [&](const QString& f) {
             QVERIFY(QFileInfo(f).isSymLink());
             QCOMPARE(MarcosId3v2(dir.filePath("destino.mp3")).value("TIT2"), kNuevas.cancion);
         }},
        {"v2.3 tag with RVAD", [&] { return Copia("rvad.mp3", EtiquetaV23ConRvad() + audio); },
         [&](const QString& f) {
             QCOMPARE(MarcosId3v2(f).value("version"), QString("3"));
             QVERIFY(LeeFichero(f).left(4096).contains(kRvad));
         }},
        {"damaged tag claiming 10 MB", [&] { return Copia("danada.mp3", QByteArray("ID3\x04\0\0\x05\x00\x00\x00", 10) + audio); },
         {}, QStringLiteral("la etiqueta ID3v2 dice ocupar más que el fichero: está dañada y el fichero no se toca")},
    };
    for (const Caso& c : casos) {
        const QString ruta = c.prepara();
        const QByteArray antes = LeeFichero(ruta);
        struct stat st {};
        ::stat(QFile::encodeName(ruta).constData(), &st);
        inodo = st.st_ino;
        const QStringList hay = QDir(QFileInfo(ruta).absolutePath()).entryList(QDir::Files | QDir::Hidden);
        try {
            const SinPrivilegios sinPrivilegios;
            PonEtiquetas(ruta, kNuevas);
            QVERIFY2(c.falla.isEmpty(), c.nombre);
            QCOMPARE(MarcosId3v2(ruta).value("TALB"), kNuevas.disco);
            QVERIFY2(SinId3v2(LeeFichero(ruta)).startsWith(audio), c.nombre);
            ::stat(QFile::encodeName(ruta).constData(), &st);
            QCOMPARE(st.st_ino, inodo);
            c.comprueba(ruta);
        } catch (const LodrinError& e) {
            QCOMPARE(e.message(), FallaEtiquetas(ruta, c.falla));
            QCOMPARE(LeeFichero(ruta), antes);
        }
        QCOMPARE(QDir(QFileInfo(ruta).absolutePath()).entryList(QDir::Files | QDir::Hidden), hay);
        QVERIFY2(Restos(dir.path()).isEmpty(), c.nombre);
    }
    QFile::setPermissions(dir.filePath("solo"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // A full disc: a tag that fits in the space the first write left is
    // written again in place; a write that must move the audio is refused,
    // before anything is touched, when the journal lacks the room.
    if (!montado)
        QSKIP("no tmpfs can be mounted here for the full-disc case");
    const QString apretado = EscribeFichero(lleno + "/apretado.mp3", audio);
    PonEtiquetas(apretado, {"Otro", "Otro disco", "Otra", "1", false});
    const qint64 largo = QFileInfo(apretado).size();
    const QString sinEtiqueta = EscribeFichero(lleno + "/grande.mp3", grande.left(900 * 1024));
    deja64k();
    PonEtiquetas(apretado, kNuevas);
    QCOMPARE(QFileInfo(apretado).size(), largo);
    QCOMPARE(MarcosId3v2(apretado).value("TPE1"), kNuevas.autor);
    const QByteArray datos = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(lleno));
    try {
        PonEtiquetas(sinEtiqueta, kNuevas);
        QFAIL("a write the journal has no room for");
    } catch (const LodrinError& e) {
        QVERIFY2(e.message().startsWith(FallaEtiquetas(sinEtiqueta, "hacen falta ")) &&
                     e.message().contains(CarpetaDiario()),
                 qPrintable(e.message()));
    }
    qputenv("XDG_DATA_HOME", datos);
    QCOMPARE(LeeFichero(sinEtiqueta), grande.left(900 * 1024));
    ::umount(QFile::encodeName(lleno).constData());
}

// "Poner Tag's" killed at many points of its run: once the program has
// started again, every file is as it was or as written, byte for byte, and
// nothing is left in its folder or in the journal.
void TestTags::killedBatchLeavesEachFileOldOrNew()
{
    const QString origen = dir.filePath("lote_origen"), nuevo = dir.filePath("lote_nuevo");
    const QString carpeta = dir.filePath("lote");
    const QByteArray grande = audio.repeated(1024 * 1024 / audio.size() + 1);
    for (int i = 0; i < 6; ++i) {
        // Half need the audio moved, half have room in their tag.
        const QString f = EscribeFichero(QString("%1/%2.mp3").arg(origen).arg(i), i % 2 ? audio : grande);
        if (i % 2)
            PonEtiquetas(f, {"Antes", "Antes", "Antes", "1", false});
    }
    QDir().mkpath(nuevo);
    for (const QString& f : QDir(origen).entryList(QDir::Files))
        QFile::copy(origen + "/" + f, nuevo + "/" + f);
    QElapsedTimer reloj;
    reloj.start();
    PonEnCarpeta(nuevo);
    const int duracion = int(reloj.elapsed()) + 20;
    int matados = 0, aMitad = 0;
    for (int k = 0; k < 24; ++k) {
        QDir(carpeta).removeRecursively();
        QDir().mkpath(carpeta);
        for (const QString& f : QDir(origen).entryList(QDir::Files))
            QFile::copy(origen + "/" + f, carpeta + "/" + f);
        // Even runs die at a moment of their run; odd ones as soon as a
        // file (a different one each time) has begun to change.
        const QString vigilado = QString("%1/%2.mp3").arg(carpeta).arg(k / 2 % 6);
        const qint64 antes = QFileInfo(vigilado).lastModified().toMSecsSinceEpoch() + QFileInfo(vigilado).size();
        matados += MataHijo({"--lote", carpeta}, [&](qint64 ms) {
            if (k % 2 == 0)
                return ms >= k * duracion / 16;
            const QFileInfo ahora(vigilado);
            return ahora.lastModified().toMSecsSinceEpoch() + ahora.size() != antes;
        });
        Diario().Recupera();
        int nuevos = 0;
        for (const QString& f : QDir(origen).entryList(QDir::Files)) {
            const QByteArray ahora = LeeFichero(carpeta + "/" + f);
            QVERIFY2(ahora == LeeFichero(origen + "/" + f) || ahora == LeeFichero(nuevo + "/" + f),
                     qPrintable(QString("kill %1, %2").arg(k).arg(f)));
            nuevos += ahora == LeeFichero(nuevo + "/" + f);
        }
        aMitad += nuevos > 0 && nuevos < 6;
        QCOMPARE(QDir(carpeta).entryList(QDir::Files | QDir::Hidden), QDir(origen).entryList(QDir::Files));
        QVERIFY(Restos(carpeta).isEmpty());
    }
    QVERIFY(matados > 0);
    qInfo("%d of 24 runs killed, %d with some files written and some not", matados, aMitad);

    // The two moments a kill may fall on, made on purpose: a record on the
    // disk and its file half written is finished; a record never made
    // valid is dropped, its file untouched.
    for (const bool asegurado : {true, false}) {
        const QString f = EscribeFichero(dir.filePath("diario/a.mp3"), LeeFichero(origen + "/0.mp3"));
        QCOMPARE(QProcess::execute(QCoreApplication::applicationFilePath(),
                                   {asegurado ? "--anota" : "--anota-sin-asegurar", f}),
                 0);
        QVERIFY(!Restos(dir.path()).isEmpty());
        if (asegurado)
            EscribeFichero(f, LeeFichero(nuevo + "/0.mp3").left(300 * 1024));
        Diario().Recupera();
        QCOMPARE(LeeFichero(f), LeeFichero((asegurado ? nuevo : origen) + "/0.mp3"));
        QVERIFY(Restos(dir.path()).isEmpty());
    }
}

// The size-limit case runs PonTag in a child process, under the limit its
// shell set; everything else is the ordinary test run.
int main(int argc, char** argv)
{
    if (argc == 3 && (qstrcmp(argv[1], "--anota") == 0 || qstrcmp(argv[1], "--anota-sin-asegurar") == 0)) {
        // Stops where a kill would: its record made, its file not yet written.
        QCoreApplication app(argc, argv);
        const QString f = QString::fromLocal8Bit(argv[2]);
        Diario d;
        d.Anota(EscrituraPonEtiquetas(f, {kNuevas.autor, kNuevas.disco, "0.mp3", kNuevas.posicion, false}));
        if (qstrcmp(argv[1], "--anota") == 0)
            d.Asegura();
        std::_Exit(0);
    }
    if (argc == 3 && qstrcmp(argv[1], "--lote") == 0) {
        QCoreApplication app(argc, argv);
        std::puts("empieza");
        std::fflush(stdout);
        PonEnCarpeta(QString::fromLocal8Bit(argv[2]));
        return 0;
    }
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
    // The journal of every write, the children's too, in a folder of the test's.
    QTemporaryDir datos;
    qputenv("XDG_DATA_HOME", QFile::encodeName(datos.path()));
    QCoreApplication app(argc, argv);
    TestTags t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}

#include "test_tags.moc"
