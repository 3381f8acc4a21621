// Playing time and stream properties of MP3 files: real encoder output checked
// against an independent reader, and hand-made byte streams for the edge cases.
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <cmath>
#include <sys/stat.h>

#include "mp3info/infomp3.h"
#include "support/mp3s.h"
#include "support/testsupport.h"

namespace {

// `count` frames of the given header with silent payload, `largoTrama` bytes each.
QByteArray Tramas(quint32 cabecera, int largoTrama, int cuantas)
{
    QByteArray trama(largoTrama, '\0');
    trama[0] = char(cabecera >> 24);
    trama[1] = char(cabecera >> 16);
    trama[2] = char(cabecera >> 8);
    trama[3] = char(cabecera);
    QByteArray d;
    d.reserve(largoTrama * cuantas);
    for (int i = 0; i < cuantas; ++i)
        d += trama;
    return d;
}

// Fills a stream of whole frames up to exactly `largo` bytes (the last one cut).
QByteArray Flujo(quint32 cabecera, int largoTrama, qint64 largo)
{
    return Tramas(cabecera, largoTrama, int(largo / largoTrama) + 1).left(largo);
}

QByteArray Syncsafe(quint32 v)
{
    QByteArray b(4, '\0');
    for (int i = 3; i >= 0; --i, v >>= 7)
        b[i] = char(v & 0x7F);
    return b;
}

// An ID3v2 tag of `largo` bytes in all (header included), its body filled with
// bytes that look like frame headers, as compressed cover art often does.
QByteArray Id3v2(int largo, int version = 3, bool pie = false)
{
    const int cuerpo = largo - 10 - (pie ? 10 : 0);
    QByteArray b("ID3");
    b += char(version);
    b += char(0);
    b += char(pie ? 0x10 : 0);
    b += Syncsafe(quint32(cuerpo));
    for (int i = 0; i < cuerpo; ++i)
        b += char(i % 7 == 0 ? 0xFF : i % 7 == 1 ? 0xFB : i % 7 == 2 ? 0x90 : 0x64);
    if (pie) {
        QByteArray f = b.left(10);
        f.replace(0, 3, "3DI");
        b += f;
    }
    return b;
}

// A 128 kbit/s frame holding an Info header that counts `tramas` frames.
QByteArray Info(quint32 tramas)
{
    QByteArray d = Tramas(0xFFFB9464, 384, 1);
    d.replace(36, 12, QByteArray("Info") + QByteArray::fromHex("00000001") + QByteArray(4, '\0'));
    qToBigEndian(tramas, d.data() + 44);
    return d;
}

QByteArray TagV1()
{
    QByteArray t("TAG");
    t += QByteArray(124, ' ');
    t += '0';
    return t;
}

// Duration in ms as reported by mediainfo; -1 when it gives none.
qint64 DuracionMediainfo(const QString& ruta)
{
    QProcess p;
    p.start(QStringLiteral("mediainfo"), {QStringLiteral("--Inform=Audio;%Duration%"), ruta});
    if (!p.waitForFinished(60000))
        return -1;
    bool ok = false;
    const double ms = QString::fromLatin1(p.readAllStandardOutput()).trimmed().toDouble(&ok);
    return ok ? qint64(ms) : -1;
}

// Runs ffmpeg quietly; the path written, or an empty text.
QString Ffmpeg(const QString& ruta, const QStringList& argumentos)
{
    QProcess p;
    p.start(QStringLiteral("ffmpeg"), QStringList{"-v", "error", "-y"} + argumentos + QStringList{ruta});
    return p.waitForFinished(120000) && p.exitCode() == 0 ? ruta : QString();
}

// The first occurrence of marca in the file, which must be there.
qsizetype Donde(const QByteArray& d, const char* marca)
{
    const qsizetype i = d.indexOf(marca);
    Q_ASSERT(i >= 0);
    return i;
}

// 128 kbit/s, 48000 Hz, MPEG-1 layer III without CRC: 384-byte frames, none
// padded, so the stream is constant as an encoder lays it out.
constexpr quint32 k128 = 0xFFFB9464;
constexpr int k128Largo = 384;

}  // namespace

class TestInfoMp3 : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

    QString Escribe(const QString& nombre, const QByteArray& d) { return EscribeFichero(dir.filePath(nombre), d); }

private slots:
    void encoderOutput_data();
    void encoderOutput();
    void framesCountedWhereNoHeaderSays_data();
    void framesCountedWhereNoHeaderSays();
    void largeLeadingTags_data();
    void largeLeadingTags();
    void cbrRuleToTheSecond();
    void boundaryOfShortFiles();
    void headerFieldsDecoded();
    void otherVersionsAndLayers();
    void falseSyncIsNotTaken();
    void vbriHeader();
    void trailingTagsAreNotAudio();
    void filesOver256MiB();
    void noStreamGivesEmptyRecord();
};

void TestInfoMp3::encoderOutput_data()
{
    QTest::addColumn<double>("segundos");
    QTest::addColumn<QStringList>("opciones");
    QTest::addColumn<int>("frecuencia");
    QTest::addColumn<int>("canales");
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("bitrate");  // first frame's; 0 = not checked (VBR)
    QTest::newRow("cbr 128") << 7.4 << QStringList{"-b", "128"} << 44100 << 2 << 1 << 128;
    QTest::newRow("cbr 128 no info frame") << 7.4 << QStringList{"-t", "-b", "128"} << 44100 << 2 << 1 << 128;
    QTest::newRow("cbr 32") << 12.3 << QStringList{"-t", "-b", "32", "--resample", "44.1"} << 44100 << 2 << 1 << 32;
    QTest::newRow("cbr 320") << 4.6 << QStringList{"-t", "-b", "320"} << 44100 << 2 << 1 << 320;
    QTest::newRow("cbr 192 crc") << 5.5 << QStringList{"-p", "-t", "-b", "192"} << 44100 << 2 << 1 << 192;
    QTest::newRow("cbr 48000") << 6.2 << QStringList{"-t", "-b", "160"} << 48000 << 2 << 1 << 160;
    QTest::newRow("vbr xing") << 9.3 << QStringList{"-V", "4"} << 44100 << 2 << 1 << 0;
    QTest::newRow("vbr xing crc") << 9.3 << QStringList{"-p", "-V", "2"} << 44100 << 2 << 1 << 0;
    QTest::newRow("abr") << 8.4 << QStringList{"--abr", "100", "--resample", "44.1"} << 44100 << 2 << 1 << 0;
    QTest::newRow("mono") << 6.3 << QStringList{"-m", "m", "-b", "64"} << 44100 << 1 << 1 << 64;
    QTest::newRow("mpeg2 22050") << 11.4 << QStringList{"-b", "64"} << 22050 << 2 << 2 << 64;
    QTest::newRow("mpeg2 22050 mono no info") << 5.3 << QStringList{"-t", "-b", "32"} << 22050 << 1 << 2 << 32;
    QTest::newRow("mpeg2 vbr") << 10.4 << QStringList{"-V", "5"} << 24000 << 2 << 2 << 0;
    QTest::newRow("mpeg2.5 11025") << 6.4 << QStringList{"-b", "24"} << 11025 << 1 << 25 << 24;
    QTest::newRow("mpeg2.5 8000 vbr") << 13.3 << QStringList{"-V", "6"} << 8000 << 1 << 25 << 0;
}

void TestInfoMp3::encoderOutput()
{
    QFETCH(double, segundos);
    QFETCH(QStringList, opciones);
    QFETCH(int, frecuencia);
    QFETCH(int, canales);
    QFETCH(int, version);
    QFETCH(int, bitrate);
    const QString ruta = CreaMp3(dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".mp3"), segundos,
                                 opciones, frecuencia, canales);
    QVERIFY2(!ruta.isEmpty(), "lame failed");

    HP hp;
    QVERIFY(DameInfoMp3(ruta, hp));
    QCOMPARE(hp.tiempo, qint64(std::floor(segundos)));
    QCOMPARE(hp.tiempo, DuracionMediainfo(ruta) / 1000);
    QCOMPARE(hp.frecuencia, frecuencia);
    QCOMPARE(int(hp.version), version);
    QCOMPARE(int(hp.capa), 3);
    QCOMPARE(hp.modo == "single channel", canales == 1);
    if (bitrate)
        QCOMPARE(int(hp.bitrate), bitrate);
    QCOMPARE(hp.protegido, QString(opciones.contains("-p") ? "yes" : "no"));
}

// Files whose length no trustworthy header gives: the time is the frames a
// full decode finds, times the samples per frame, over the sample rate.
void TestInfoMp3::framesCountedWhereNoHeaderSays_data()
{
    QTest::addColumn<QString>("ruta");
    QTest::addColumn<double>("segundos");  // what the frames of audio in the file play
    QTest::addColumn<int>("frecuencia");   // the first frame's
    const double segundos = 10.3;
    auto lame = [&](const QString& nombre, const QStringList& opciones, int frecuencia = 44100) {
        const QString r = CreaMp3(dir.filePath(nombre), segundos, opciones, frecuencia);
        Q_ASSERT(!r.isEmpty());
        return r;
    };
    auto fila = [](const char* nombre, const QString& ruta, qint64 tramas) {
        QVERIFY2(!ruta.isEmpty() && tramas > 0, nombre);
        QTest::newRow(nombre) << ruta << double(tramas) * 1152 / 44100 << 44100;
    };
    // Files of other rates and versions joined: each part's frames, as a
    // full decode of that part finds them, at that part's rate.
    auto unidas = [&](const char* nombre, const QList<QByteArray>& delante, const QStringList& partes) {
        QByteArray d;
        double s = 0;
        int primera = 0;
        for (int i = 0; i < partes.size(); ++i) {
            int frecuencia = 0;
            const qint64 tramas = TramasDecodificadas(partes[i], &frecuencia);
            QVERIFY2(tramas > 0, nombre);
            s += double(tramas) * (frecuencia >= 32000 ? 1152 : 576) / frecuencia;
            primera = primera ? primera : frecuencia;
            d += delante.value(i) + LeeFichero(partes[i]);
        }
        QTest::newRow(nombre) << Escribe(QString::fromLatin1(nombre) + ".mp3", d) << s << primera;
    };
    const QString vbr = lame("vbr.mp3", {"-V", "2"});
    const QString sinCabecera = lame("sin_cabecera.mp3", {"-V", "2", "-t"});
    fila("vbr without a header", sinCabecera, TramasDecodificadas(sinCabecera));
    // Four seconds of silence: the first frames all share the lowest rate.
    const QString silencio = Ffmpeg(dir.filePath("silencio.mp3"),
                                    {"-f", "lavfi", "-i", "anullsrc=r=44100:cl=stereo:d=4", "-f", "lavfi", "-i",
                                     "sine=f=440:r=44100:d=6.3", "-filter_complex",
                                     "[1]aformat=channel_layouts=stereo[s];[0][s]concat=n=2:v=0:a=1", "-c:a",
                                     "libmp3lame", "-q:a", "2", "-write_xing", "0"});
    fila("vbr without a header, silent start", silencio, TramasDecodificadas(silencio));

    QByteArray d = LeeFichero(vbr);
    d[Donde(d, "Xing") + 7] = char(d[Donde(d, "Xing") + 7] & ~1);
    fila("xing without frame count", Escribe("xing_sin_cuenta.mp3", d), TramasDecodificadas(vbr));

    // The decoder does not take free format: the frames are those of the
    // same input at a table rate.
    const qint64 tramasCbr = TramasDecodificadas(lame("cbr.mp3", {"-t", "-b", "320"}));
    fila("free format", lame("libre.mp3", {"--freeformat", "-b", "400"}), tramasCbr);
    fila("free format, no info frame", lame("libre_t.mp3", {"-t", "--freeformat", "-b", "400"}), tramasCbr);

    QRandomGenerator azar(415);
    QByteArray ruido(200 * 1024, '\0');
    for (char& c : ruido)
        c = char(azar.bounded(256));
    fila("200 KB of random bytes first", Escribe("ruido.mp3", ruido + LeeFichero(vbr)), TramasDecodificadas(vbr));
    fila("200 KB of random bytes, no header", Escribe("ruido_t.mp3", ruido + LeeFichero(sinCabecera)),
         TramasDecodificadas(sinCabecera));

    const QString cbrInfo = lame("cbr_info.mp3", {"-b", "128"});
    d = LeeFichero(cbrInfo);
    d.replace(Donde(d, "Info") + 8, 4, QByteArray::fromHex("FE000000"));
    fila("info frame count damaged", Escribe("info_danado.mp3", d), TramasDecodificadas(cbrInfo));
    d = LeeFichero(vbr);
    d.replace(Donde(d, "Xing") + 8, 4, QByteArray::fromHex("00000003"));
    fila("xing frame count damaged", Escribe("xing_danado.mp3", d), TramasDecodificadas(vbr));
    const QString cbr = lame("cbr_t.mp3", {"-t", "-b", "128"});
    fila("16 KB of zeros after the ID3v2 tag", Escribe("ceros.mp3", Id3v2(3000) + QByteArray(16384, '\0') + LeeFichero(cbr)),
         TramasDecodificadas(cbr));

    // Stretches of constant rate joined: the edges and the middle of the file
    // share one rate, the rest has another.
    auto trozos = [&](const QString& nombre, const QList<std::pair<const char*, double>>& partes) {
        QByteArray d;
        for (const auto& [kbps, s] : partes)
            d += LeeFichero(CreaMp3(dir.filePath(nombre + "_trozo.mp3"), s, {"-t", "-b", kbps, "--resample", "44.1"}));
        return Escribe(nombre + ".mp3", d);
    };
    const QString bordes320 = trozos("bordes320", {{"320", 2}, {"32", 20}, {"320", 4}, {"32", 20}, {"320", 2}});
    fila("edges and middle at 320k, the rest at 32k", bordes320, TramasDecodificadas(bordes320));
    const QString bordes32 = trozos("bordes32", {{"32", 10}, {"320", 10}, {"32", 10}, {"320", 10}, {"32", 10}});
    fila("edges and middle at 32k, the rest at 320k", bordes32, TramasDecodificadas(bordes32));
    // Silence at the edges and in the byte middle: all of it at the lowest rate.
    const QString silencios = Ffmpeg(dir.filePath("silencios.mp3"),
                                     {"-f", "lavfi", "-i",
                                      "aevalsrc=exprs='if(lt(mod(t,13),3),0,0.5*sin(2*PI*440*t)*sin(PI*t/7))':s=44100:d=29",
                                      "-ac", "2", "-c:a", "libmp3lame", "-q:a", "2", "-write_xing", "0"});
    fila("vbr without a header, silent edges and middle", silencios, TramasDecodificadas(silencios));

    // A VBR header whose byte count no longer fits the file.
    const QByteArray datosVbr = LeeFichero(vbr);
    const QString mitad = Escribe("mitad.mp3", datosVbr.left(datosVbr.size() / 2));
    fila("xing file cut in half", mitad, TramasDecodificadas(mitad));
    const QString unidos = Escribe("unidos.mp3", datosVbr + datosVbr);
    fila("two xing files joined", unidos, TramasDecodificadas(unidos));

    // Tags at the end that are not audio.
    QByteArray letra = "LYRICSBEGININD0000210LYR60000" + QByteArray(60000, 'l');
    letra += QByteArray::number(letra.size()).rightJustified(6, '0') + "LYRICS200";
    fila("lyrics3 v2 and id3v1 after cbr", Escribe("letra.mp3", LeeFichero(cbr) + letra + TagV1()),
         TramasDecodificadas(cbr));
    fila("id3v2.4 with footer after cbr", Escribe("pie.mp3", LeeFichero(cbr) + Id3v2(70000, 4, true)),
         TramasDecodificadas(cbr));

    // The first frame more than 1 MiB past the tags.
    QByteArray ruido2(2 * 1024 * 1024, '\0');
    for (char& c : ruido2)
        c = char(azar.bounded(256));
    fila("2 MB of random bytes first", Escribe("ruido2.mp3", ruido2 + datosVbr), TramasDecodificadas(vbr));
    fila("2 MB of zeros after the ID3v2 tag",
         Escribe("ceros2.mp3", Id3v2(3000) + QByteArray(2 * 1024 * 1024, '\0') + LeeFichero(cbr)),
         TramasDecodificadas(cbr));
    // A tag size written as a plain number (00 17 00 64, which also reads as
    // a smaller size seven bits a byte) before a 1.5 MB cover that holds a
    // short stream of another rate.
    QByteArray portada(0x00170064, '\0');
    portada.replace(400000, 50 * 96, Tramas(0xFFFB1400, 96, 50));
    fila("id3v2 size as a plain number",
         Escribe("plano.mp3", QByteArray("ID3\x04\x00\x00\x00\x17\x00\x64", 10) + portada + datosVbr),
         TramasDecodificadas(vbr));

    // Layer I at 48 kHz: 1250 frames of 384 samples, 128 kbit/s.
    QTest::newRow("layer I 48 kHz") << Escribe("capa1.mp3", Tramas(0xFFFF4400, 128, 1250)) << 10.0 << 48000;

    // Lyrics3 v1 gives no size: 5,100 bytes of it are five seconds at 8 kbit/s.
    const QString cbr8 = lame("cbr8.mp3", {"-t", "-b", "8"}, 8000);
    QTest::newRow("lyrics3 v1 and id3v1 after cbr 8k")
        << Escribe("letra1.mp3", LeeFichero(cbr8) + "LYRICSBEGIN" + QByteArray(5100, 'l') + "LYRICSEND" + TagV1())
        << double(TramasDecodificadas(cbr8)) * 576 / 8000 << 8000;

    const QString a44 = lame("a44.mp3", {"-t", "-b", "128"}), b22 = lame("b22.mp3", {"-t", "-b", "64"}, 22050);
    unidas("44.1 kHz then 22.05 kHz, no headers", {}, {a44, b22});
    const QString c44 = CreaMp3(dir.filePath("c44.mp3"), 2.1, {"-b", "128"});
    const QString d16 = CreaMp3(dir.filePath("d16.mp3"), 8.2, {"-b", "32"}, 16000);
    unidas("mpeg-1 then mpeg-2 16 kHz, each with its info frame", {}, {c44, d16});
    unidas("16 kHz then 44.1 kHz behind its ID3v2 tag", {{}, Id3v2(3000)}, {d16, a44});
    const QString v22 = lame("v22.mp3", {"-t", "-V", "5"}, 22050), v44 = lame("v44.mp3", {"-t", "-V", "2"});
    unidas("vbr 22.05, 44.1 and 22.05 kHz again", {}, {v22, v44, v22});
}

void TestInfoMp3::framesCountedWhereNoHeaderSays()
{
    QFETCH(QString, ruta);
    QFETCH(double, segundos);
    QFETCH(int, frecuencia);
    HP hp;
    QVERIFY(DameInfoMp3(ruta, hp));
    QCOMPARE(hp.tiempo, qint64(std::floor(segundos)));
    QCOMPARE(hp.frecuencia, frecuencia);
}

void TestInfoMp3::largeLeadingTags_data()
{
    QTest::addColumn<QStringList>("opciones");
    QTest::addColumn<QList<QByteArray>>("tags");
    const QStringList cbr{"-t", "-b", "128"}, vbr{"-V", "3"};
    QTest::newRow("cover art 300 KB, cbr") << cbr << QList<QByteArray>{Id3v2(300000)};
    QTest::newRow("cover art 300 KB, vbr") << vbr << QList<QByteArray>{Id3v2(300000)};
    QTest::newRow("v2.4 with footer") << cbr << QList<QByteArray>{Id3v2(70000, 4, true)};
    QTest::newRow("stacked tags") << cbr << QList<QByteArray>{Id3v2(3000), Id3v2(200000, 4, true), Id3v2(6000)};
}

void TestInfoMp3::largeLeadingTags()
{
    QFETCH(QStringList, opciones);
    QFETCH(QList<QByteArray>, tags);
    const double segundos = 8.6;
    const QString limpio = CreaMp3(dir.filePath("limpio.mp3"), segundos, opciones);
    QVERIFY(!limpio.isEmpty());
    QByteArray delante;
    for (const QByteArray& t : tags)
        delante += t;
    const QString ruta = Escribe("etiquetado.mp3", delante + LeeFichero(limpio) + TagV1());

    HP sinTags, conTags;
    QVERIFY(DameInfoMp3(limpio, sinTags));
    QVERIFY(DameInfoMp3(ruta, conTags));
    QCOMPARE(conTags.tiempo, qint64(std::floor(segundos)));
    QCOMPARE(conTags.tiempo, sinTags.tiempo);
    QCOMPARE(conTags.bitrate, sinTags.bitrate);
    QCOMPARE(conTags.tiempo, DuracionMediainfo(ruta) / 1000);
}

void TestInfoMp3::cbrRuleToTheSecond()
{
    struct Caso {
        qint64 largo;
        qint64 tiempo;
    };
    // 4,000,000 bytes at 128 kbit/s are 250,000 ms; 47992 bytes are 2999.5 ms
    // (rounds to even: 3000), 47976 bytes are 2998.5 ms (rounds to 2998).
    for (const Caso c : {Caso{4000000, 250}, Caso{47992, 3}, Caso{47976, 2}, Caso{47992 - 8, 2}}) {
        HP hp;
        QVERIFY(DameInfoMp3(Escribe("cbr.mp3", Flujo(k128, k128Largo, c.largo)), hp));
        QCOMPARE(hp.tiempo, c.tiempo);
        QCOMPARE(int(hp.bitrate), 128);
    }
}

void TestInfoMp3::boundaryOfShortFiles()
{
    // 32 kbit/s at 48000 Hz: 96-byte frames, so short files can hold a real stream.
    const quint32 h = 0xFFFB1400;
    HP hp;
    QVERIFY(!DameInfoMp3(Escribe("255.mp3", Flujo(h, 96, 255)), hp));
    QCOMPARE(hp.bitrate, qint16(0));
    QVERIFY(hp.modo.isEmpty());
    QVERIFY(DameInfoMp3(Escribe("256.mp3", Flujo(h, 96, 256)), hp));
    QCOMPARE(int(hp.bitrate), 32);
    QCOMPARE(hp.frecuencia, 48000);
    QCOMPARE(hp.tiempo, qint64(0));  // 64 ms
}

void TestInfoMp3::headerFieldsDecoded()
{
    struct Caso {
        quint32 cabecera;
        int largoTrama;
        const char *modo, *enfasis, *relleno, *protegido, *copyright, *original, *privado;
    };
    const Caso casos[] = {
        {0xFFFB9064, 417, "joint stereo", "no", "no", "no", "no", "yes", "no"},
        {0xFFFA9064, 417, "joint stereo", "no", "no", "yes", "no", "yes", "no"},
        {0xFFFB91C9, 417, "single channel", "50/15", "no", "no", "yes", "no", "yes"},
        {0xFFFB928E, 418, "dual channel", "reserved", "yes", "no", "yes", "yes", "no"},
        {0xFFFB9003, 417, "stereo", "CCITT J 17", "no", "no", "no", "no", "no"},
    };
    for (const Caso& c : casos) {
        HP hp;
        QVERIFY(DameInfoMp3(Escribe("campos.mp3", Tramas(c.cabecera, c.largoTrama, 20)), hp));
        QCOMPARE(hp.modo, QString(c.modo));
        QCOMPARE(hp.enfasis, QString(c.enfasis));
        QCOMPARE(hp.relleno, QString(c.relleno));
        QCOMPARE(hp.protegido, QString(c.protegido));
        QCOMPARE(hp.copyright, QString(c.copyright));
        QCOMPARE(hp.original, QString(c.original));
        QCOMPARE(hp.privado, QString(c.privado));
        QCOMPARE(int(hp.version), 1);
        QCOMPARE(int(hp.capa), 3);
        QCOMPARE(hp.frecuencia, 44100);
    }
}

void TestInfoMp3::otherVersionsAndLayers()
{
    struct Caso {
        quint32 cabecera;
        int largoTrama;
        int version, capa, bitrate, frecuencia;
    };
    const Caso casos[] = {
        {0xFFFD9000, 522, 1, 2, 160, 44100},  // layer II
        {0xFFFC9000, 522, 1, 2, 160, 44100},  // layer II with CRC
        {0xFFFF8000, 276, 1, 1, 256, 44100},  // layer I
        {0xFFF38000, 208, 2, 3, 64, 22050},   // MPEG-2 layer III
        {0xFFF58400, 384, 2, 2, 64, 24000},   // MPEG-2 layer II
        {0xFFF78800, 384, 2, 1, 128, 16000},  // MPEG-2 layer I
        {0xFFE38800, 576, 25, 3, 64, 8000},   // MPEG-2.5 layer III
    };
    for (const Caso& c : casos) {
        const qint64 largo = 150000;
        HP hp;
        QVERIFY(DameInfoMp3(Escribe("otras.mp3", Flujo(c.cabecera, c.largoTrama, largo)), hp));
        QCOMPARE(int(hp.version), c.version);
        QCOMPARE(int(hp.capa), c.capa);
        QCOMPARE(int(hp.bitrate), c.bitrate);
        QCOMPARE(hp.frecuencia, c.frecuencia);
        QCOMPARE(hp.tiempo, largo * 8 / c.bitrate / 1000);
    }
}

void TestInfoMp3::falseSyncIsNotTaken()
{
    // Leading data holds a 128 kbit/s sync word that no second header follows;
    // the stream behind it is 192 kbit/s (626-byte frames).
    QByteArray basura(900, 'x');
    basura.replace(5, 4, QByteArray::fromHex("FFFB9064"));
    basura.replace(5 + 300, 4, QByteArray::fromHex("FFFBB064"));  // a header, but not where a frame would end
    const QByteArray flujo = Tramas(0xFFFBB064, 626, 100);
    HP hp;
    QVERIFY(DameInfoMp3(Escribe("falsa.mp3", basura + flujo), hp));
    QCOMPARE(int(hp.bitrate), 192);
    QCOMPARE(hp.tiempo, (basura.size() + flujo.size()) * 8 / 192 / 1000);

    // Tens of KB of other data before the stream, with the stream's first
    // header at every offset around 16 KiB.
    for (int delante = 16384 - 6; delante <= 16384 + 2; ++delante) {
        QVERIFY(DameInfoMp3(Escribe("lejos.mp3", QByteArray(delante, 'x') + flujo), hp));
        QCOMPARE(int(hp.bitrate), 192);
    }
    // What lies before the first frame is not played.
    QVERIFY(DameInfoMp3(Escribe("lejos.mp3", QByteArray(60000, 'x') + flujo), hp));
    QCOMPARE(hp.tiempo, flujo.size() * 8 / 192 / 1000);
}

void TestInfoMp3::vbriHeader()
{
    QByteArray d = Tramas(k128, k128Largo, 1000);
    // 2000 frames of 1152 samples at 48000 Hz: 48 s (the bytes alone would say 24).
    d.replace(36, 4, "VBRI");
    d.replace(36 + 14, 4, QByteArray::fromHex("000007D0"));
    HP hp;
    QVERIFY(DameInfoMp3(Escribe("vbri.mp3", d), hp));
    QCOMPARE(hp.tiempo, qint64(48));

    // A Xing header without a frame count falls back on the file length.
    QByteArray x = Tramas(k128, k128Largo, 300);
    x.replace(36, 8, QByteArray("Xing") + QByteArray::fromHex("00000006"));
    QVERIFY(DameInfoMp3(Escribe("xing.mp3", x), hp));
    QCOMPARE(hp.tiempo, qint64(x.size()) * 8 / 128 / 1000);
}

void TestInfoMp3::trailingTagsAreNotAudio()
{
    // 47872 bytes of audio are 2992 ms; with the ID3v1 block the file is 48000 bytes.
    const QByteArray audio = Flujo(k128, k128Largo, 47872);
    HP hp;
    QVERIFY(DameInfoMp3(Escribe("v1.mp3", audio + TagV1()), hp));
    QCOMPARE(hp.tiempo, qint64(2));
    QByteArray ape("APETAGEX");
    ape += QByteArray::fromHex("D0070000") + QByteArray::fromHex("40000000") + QByteArray(4, '\0') +
           QByteArray::fromHex("00000080") + QByteArray(8, '\0');
    QByteArray cabeceraApe = ape;
    QByteArray cuerpo(32, 'a');
    // 47990 bytes of audio (2999 ms) and 96 bytes of APE tag in front of the ID3v1 block.
    QVERIFY(DameInfoMp3(Escribe("ape.mp3", Flujo(k128, k128Largo, 47990) + cabeceraApe + cuerpo + ape + TagV1()), hp));
    QCOMPARE(hp.tiempo, qint64(2));
}

void TestInfoMp3::filesOver256MiB()
{
    const qint64 largo = 300LL * 1024 * 1024 + 12345;
    const quint32 tramas = quint32(largo / k128Largo);
    // A Xing header gives the frames and the bytes of the whole file.
    QByteArray d = Tramas(k128, k128Largo, 10);
    d.replace(36, 16, QByteArray("Xing") + QByteArray::fromHex("00000003") + QByteArray(4, '\0') + QByteArray(4, '\0'));
    qToBigEndian(tramas, d.data() + 44);
    qToBigEndian(quint32(largo), d.data() + 48);
    const QString ruta = Escribe("grande.mp3", d);
    QFile f(ruta);
    // Sparse on most file systems: cheap to make, and only the start is read.
    QVERIFY(f.resize(largo));
    HP hp;
    QVERIFY(DameInfoMp3(ruta, hp));
    QCOMPARE(hp.tiempo, qint64(tramas) * 1152 / 48000);
    QVERIFY(hp.tiempo > 19000);
    QFile::remove(ruta);
}

void TestInfoMp3::noStreamGivesEmptyRecord()
{
    const QList<QByteArray> contenidos{
        QByteArray(),
        QByteArray(5000, '\xFF'),                     // sync bits everywhere, but forbidden indices
        Tramas(0xFFFBF064, 417, 20),                  // bit-rate index 15
        Tramas(0xFFFB9C64, 417, 20),                  // sample-rate index 3
        Tramas(0xFFEB9064, 417, 20),                  // reserved version
        Tramas(0xFFF99064, 417, 20),                  // reserved layer
        Id3v2(4000) + QByteArray(10000, '\0'),        // a tag and nothing else
        Id3v2(9000).left(3000),                       // a tag cut short
        Id3v2(4000) + Tramas(k128, k128Largo, 1),     // a lone frame after a tag
        Id3v2(4000) + Info(100),                      // a VBR header and no audio after it
    };
    for (const QByteArray& d : contenidos) {
        HP hp;
        hp.tiempo = 99;
        hp.modo = "x";
        QVERIFY(!DameInfoMp3(Escribe("nada.mp3", d), hp));
        QCOMPARE(hp.tiempo, qint64(0));
        QCOMPARE(hp.bitrate, qint16(0));
        QCOMPARE(hp.frecuencia, 0);
        QVERIFY(hp.modo.isEmpty() && hp.protegido.isEmpty());
    }
    HP hp;
    QVERIFY(!DameInfoMp3(dir.filePath("no existe.mp3"), hp));
    QVERIFY(!DameInfoMp3(dir.path(), hp));
}

QTEST_GUILESS_MAIN(TestInfoMp3)
#include "test_infomp3.moc"
