// Reads the playing time of 5,000 MP3 files with DameInfoMp3 and with TagLib,
// and counts for each how many differ from the length of the audio encoded;
// then the least reading any reader must do on the same files, and files
// whose frames alone tell their length.
// Usage: bench_mp3info [files] [folder to keep the files in] [any: list the misses]
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include "casosmp3.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int total = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 5000;
    QTemporaryDir temporal;
    const QString carpeta = argc > 2 ? QString::fromLocal8Bit(argv[2]) : temporal.path();
    QTextStream out(stdout);

    out << "Encoding the source files...\n" << Qt::flush;
    const QList<CasoMp3> casos = CreaCasosMp3(carpeta, total);
    if (casos.isEmpty()) {
        out << "lame failed\n";
        return 1;
    }
    out << casos.size() << " files\n" << Qt::flush;

    const ComparacionLectores r = ComparaLectores(casos);
    out << QStringLiteral("DameInfoMp3: %1 ms, %2 wrong of %3\n").arg(r.msPropio).arg(r.fallosPropio).arg(casos.size());
    out << QStringLiteral("TagLib:      %1 ms, %2 wrong of %3\n").arg(r.msTagLib).arg(r.fallosTagLib).arg(casos.size());
    const ContraLecturaMinima m = ComparaConLecturaMinima(casos, 7);
    out << QStringLiteral("DameInfoMp3 %1 ms against open+fstat+2 reads of 4 KB+close %2 ms: %3x (median of 7)\n")
               .arg(m.msPropio, 0, 'f', 1)
               .arg(m.msMinima, 0, 'f', 1)
               .arg(m.msPropio / m.msMinima, 0, 'f', 2);
    const QList<CasoMp3> vbr = CreaCasosVbrSinCabecera(carpeta, total / 10);
    const LecturaPropia v = MideDameInfoMp3(vbr);
    out << QStringLiteral("DameInfoMp3, %1 headerless VBR files: %2 ms, %3 wrong\n")
               .arg(vbr.size())
               .arg(v.ms, 0, 'f', 1)
               .arg(v.fallos);
    if (argc > 3) {
        for (int i = 0; i < casos.size(); ++i)
            if (r.propio[i] != casos[i].segundos || r.taglib[i] != casos[i].segundos)
                out << casos[i].ruta << " expected " << casos[i].segundos << " own " << r.propio[i] << " taglib "
                    << r.taglib[i] << "\n";
    }
    return 0;
}
