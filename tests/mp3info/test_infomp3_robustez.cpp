// Thousands of random, cut and damaged files through DameInfoMp3: every one
// gives a coherent answer (built under AddressSanitizer in one CI step).
#include <QFile>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include "mp3info/infomp3.h"
#include "support/mp3s.h"
#include "support/testsupport.h"

class TestInfoMp3Robustez : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QList<QByteArray> reales;  // encoder output to cut and damage
    QByteArray cbrSinInfo;     // 128 kbit/s without an info frame: 417/418-byte frames
    QRandomGenerator azar{20261207};
    int casos = 0;

    QByteArray Aleatorio(int largo)
    {
        QByteArray d(largo, '\0');
        for (char& c : d)
            c = char(azar.bounded(256));
        return d;
    }

    // Random data sown with sync words and fragments of headers tools look for.
    QByteArray Sembrado(int largo)
    {
        QByteArray d = Aleatorio(largo);
        static const QList<QByteArray> semillas{QByteArray::fromHex("FFFB"), QByteArray::fromHex("FFFA"),
                                                QByteArray::fromHex("FFE3"), QByteArray::fromHex("FFF3"),
                                                QByteArray::fromHex("FFFD"), QByteArray::fromHex("FFFF"),
                                                "Xing", "Info", "VBRI", "ID3", "TAG", "APETAGEX"};
        const int cuantas = azar.bounded(1, 60);
        for (int i = 0; i < cuantas && largo > 8; ++i) {
            const QByteArray& s = semillas[azar.bounded(semillas.size())];
            d.replace(azar.bounded(largo - s.size()), s.size(), s);
        }
        return d;
    }

    QByteArray Id3v2Cualquiera()
    {
        QByteArray t("ID3");
        t += char(azar.bounded(2, 6));
        t += char(0);
        t += char(azar.bounded(2) ? 0x10 : 0);
        for (int i = 0; i < 4; ++i)
            t += char(azar.bounded(azar.bounded(4) ? 0x80 : 0x100));
        return t + Aleatorio(azar.bounded(200));
    }

    QByteArray Estropeado(QByteArray d)
    {
        const int cambios = azar.bounded(1, 40);
        for (int i = 0; i < cambios && !d.isEmpty(); ++i) {
            // Mostly near the start, where the headers live.
            const int hasta = azar.bounded(4) ? qMin<int>(d.size(), 600) : d.size();
            d[azar.bounded(hasta)] = char(azar.bounded(256));
        }
        return d;
    }

    void Comprueba(const QByteArray& d)
    {
        // A fresh name each time: rewriting one file in place makes the file system flush.
        const QString ruta = EscribeFichero(dir.filePath(QStringLiteral("caso%1.mp3").arg(++casos)), d);
        const auto borra = qScopeGuard([&ruta] { QFile::remove(ruta); });
        HP hp;
        hp.tiempo = -7;
        const bool encontrado = DameInfoMp3(ruta, hp);
        QVERIFY(hp.tiempo >= 0);
        if (!encontrado) {
            QCOMPARE(hp.tiempo, qint64(0));
            QCOMPARE(hp.bitrate, qint16(0));
            QVERIFY(hp.modo.isEmpty() && hp.version == 0 && hp.frecuencia == 0);
            return;
        }
        QVERIFY(hp.version == 1 || hp.version == 2 || hp.version == 25);
        QVERIFY(hp.capa >= 1 && hp.capa <= 3);
        QVERIFY(hp.bitrate >= 8 && hp.bitrate <= 896);  // free format may pass the table
        QVERIFY(hp.frecuencia >= 8000 && hp.frecuencia <= 48000);
        QVERIFY(!hp.modo.isEmpty() && !hp.enfasis.isEmpty() && !hp.protegido.isEmpty());
        // No stream is slower than 8 kbit/s, whatever a damaged VBR header says.
        QVERIFY2(hp.tiempo <= d.size() / 950 + 1, qPrintable(QString::number(hp.tiempo)));
    }

private slots:
    void initTestCase()
    {
        struct Fuente {
            double segundos;
            QStringList opciones;
            int frecuencia;
        };
        for (const Fuente& f : {Fuente{3.3, {"-V", "4"}, 44100}, Fuente{2.2, {"-b", "64"}, 22050},
                                Fuente{2.6, {"-p", "-b", "160"}, 48000}, Fuente{4.1, {"-V", "7"}, 8000}}) {
            const QString r = CreaMp3(dir.filePath("fuente.mp3"), f.segundos, f.opciones, f.frecuencia);
            QVERIFY(!r.isEmpty());
            reales << LeeFichero(r);
        }
        const QString r = CreaMp3(dir.filePath("cbr.mp3"), 2.1, {"-t", "-b", "128"});
        QVERIFY(!r.isEmpty());
        cbrSinInfo = LeeFichero(r);
        reales << cbrSinInfo;
    }

    void randomData()
    {
        for (int i = 0; i < 1500; ++i) {
            const int largo = azar.bounded(4) ? azar.bounded(0, 6000) : azar.bounded(6000, 200000);
            Comprueba(i % 3 ? Sembrado(largo) : Aleatorio(largo));
            if (QTest::currentTestFailed())
                return;
        }
    }

    void damagedEncoderOutput()
    {
        for (int i = 0; i < 2500; ++i) {
            QByteArray d = reales[azar.bounded(reales.size())];
            switch (i % 5) {
            case 0: d = d.left(azar.bounded(d.size())); break;
            case 1: d = Estropeado(d); break;
            case 2: d = Id3v2Cualquiera() + d.left(azar.bounded(d.size())); break;
            case 3: d = Estropeado(Id3v2Cualquiera() + Id3v2Cualquiera() + d); break;
            case 4: d = d.mid(azar.bounded(d.size())) + Aleatorio(azar.bounded(300)); break;
            }
            Comprueba(d);
            if (QTest::currentTestFailed())
                return;
        }
    }

    void cutFilesKeepTheirStream()
    {
        // Any cut that keeps two whole frames still shows the stream, whose
        // length then sets the time.
        for (int i = 0; i < 300; ++i) {
            const int largo = azar.bounded(900, cbrSinInfo.size());
            const QString ruta = EscribeFichero(dir.filePath(QStringLiteral("cortado%1.mp3").arg(i)), cbrSinInfo.left(largo));
            HP hp;
            QVERIFY(DameInfoMp3(ruta, hp));
            QCOMPARE(int(hp.bitrate), 128);
            QVERIFY(hp.tiempo == largo / 16000 || hp.tiempo == (largo + 8) / 16000);
        }
    }
};

QTEST_GUILESS_MAIN(TestInfoMp3Robustez)
#include "test_infomp3_robustez.moc"
