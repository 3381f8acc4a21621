// "Poner Tag's" on 1,000 MP3s, side by side with kid3-cli writing the same
// four frames to the same files: once on files whose ID3v2 tag has room for
// the new one (written in place), once on files without ID3v2 (the audio
// moves). Lodrin writes through its journal (crash safe); kid3-cli does not.
// Usage: bench_etiquetas [files]
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <unistd.h>

#include "common/avance.h"
#include "common/avisos.h"
#include "medida.h"
#include "mp3info/etiquetas.h"
#include "worklist/listatrabajo.h"
#include "worklist/tagslista.h"

namespace {

class Nada : public Avance, public Avisos {
public:
    void Empieza(int) override {}
    void Avanza(int) override {}
    void Termina() override {}
    void Informa(const QString& texto, const QString&) override { fallos += texto; }
    void Falla(const QString& texto, const QString&) override { fallos += texto; }
    QString fallos;
};

void Lodrin(const QString& carpeta, int vuelta)
{
    ListaTrabajo l;
    l.PonOrdenada(false);
    for (const QString& f : QDir(carpeta).entryList({QStringLiteral("*.mp3")}, QDir::Files)) {
        const int i = l.Anade(f, QDir(carpeta).filePath(f), QStringLiteral("f"), QStringLiteral("Mp3"));
        l.PonSubItem(i, columna::kAutor, QStringLiteral("Coro Añil %1").arg(vuelta));
        l.PonSubItem(i, columna::kDisco, QStringLiteral("Álbum del Ñandú"));
        l.PonSubItem(i, columna::kCancion, QStringLiteral("Nana del Ñandú"));
        l.PonSubItem(i, columna::kPosicion, QStringLiteral("3"));
    }
    Nada nada;
    PonTagsLista(l, nada, nada);
    if (!nada.fallos.isEmpty())
        qFatal("%s", qPrintable(nada.fallos.left(500)));
}

void Kid3(const QString& carpeta, int vuelta)
{
    const int r = QProcess::execute(
        QStringLiteral("kid3-cli"),
        {"-c", "select all", "-c", "tag 2", "-c", QStringLiteral("set artist 'Coro Añil %1'").arg(vuelta), "-c",
         "set album 'Álbum del Ñandú'", "-c", "set title 'Nana del Ñandú'", "-c", "set track 3", "-c", "save",
         carpeta});
    if (r != 0)
        qFatal("kid3-cli failed");
}

void Llena(const QString& carpeta, const QByteArray& audio, int n)
{
    QDir(carpeta).removeRecursively();
    QDir().mkpath(carpeta);
    for (int i = 0; i < n; ++i) {
        QFile f(QStringLiteral("%1/%2.mp3").arg(carpeta).arg(i, 4, 10, QLatin1Char('0')));
        f.open(QIODevice::WriteOnly);
        f.write(audio);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;
    QTemporaryDir dir;
    QTextStream out(stdout);
    if (QStandardPaths::findExecutable(QStringLiteral("kid3-cli")).isEmpty()) {
        out << "kid3-cli is not installed (scripts/setup.sh --pruebas)\n";
        return 1;
    }
    // Four seconds of a tone, as the encoder gives it.
    const QString fuente = dir.filePath("tono.mp3");
    QProcess::execute(QStringLiteral("bash"),
                      {"-c", QStringLiteral("ffmpeg -loglevel error -f lavfi -i sine=frequency=440:duration=4 -b:a 128k '%1'")
                                 .arg(fuente)});
    QFile f(fuente);
    if (!f.open(QIODevice::ReadOnly)) {
        out << "ffmpeg failed\n";
        return 1;
    }
    const QByteArray audio = f.readAll();
    out << n << " files of " << audio.size() / 1024 << " kB\n" << Qt::flush;

    const QString nuestra = dir.filePath("lodrin"), suya = dir.filePath("kid3");
    for (const bool conRelleno : {true, false}) {
        QList<double> a, b;
        for (int vuelta = 0; vuelta < 5; ++vuelta) {
            if (!conRelleno || vuelta == 0) {
                Llena(nuestra, audio, n);
                Llena(suya, audio, n);
                if (conRelleno) {
                    // A tag with room for the next one, as the first write leaves it.
                    Lodrin(nuestra, 99);
                    Kid3(suya, 99);
                }
            }
            ::sync();
            // Alternating, so both meet the same state of the machine.
            a << Mide([&] { Lodrin(nuestra, vuelta); });
            ::sync();
            b << Mide([&] { Kid3(suya, vuelta); });
        }
        const double ma = Mediana(a), mb = Mediana(b);
        out << (conRelleno ? "tags with room (in place): " : "no ID3v2 yet (audio moves): ")
            << QStringLiteral("Lodrin %1 s, kid3-cli %2 s, ratio %3x (goal <= %4x)\n")
                   .arg(ma, 0, 'f', 3)
                   .arg(mb, 0, 'f', 3)
                   .arg(ma / mb, 0, 'f', 2)
                   .arg(conRelleno ? "1.2" : "2")
            << Qt::flush;
    }
    return 0;
}
