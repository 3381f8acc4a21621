// Reads the playing time of 5,000 MP3 files (one in five VBR without a
// Xing/Info header) with DameInfoMp3 and with TagLib, and counts for each how
// many differ from the frames a full decode finds; then, kind by kind, the
// time against the least reading any reader must do on the same files;
// headerless VBR of 30 s and four minutes against reading them whole; the
// tags of a file with a large cover as JPEG and as PNG.
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
    out << QStringLiteral("DameInfoMp3: %1 ms, %2 wrong of %3 (against the decoded frames)\n")
               .arg(r.msPropio)
               .arg(r.fallosPropio)
               .arg(casos.size());
    out << QStringLiteral("TagLib:      %1 ms, %2 wrong of %3\n").arg(r.msTagLib).arg(r.fallosTagLib).arg(casos.size());
    out << QStringLiteral("DameInfoMp3 / TagLib: %1x (goal <= 0.5x)\n")
               .arg(double(r.msPropio) / qMax<qint64>(1, r.msTagLib), 0, 'f', 2);
    const struct {
        const char* nombre;
        QList<CasoMp3> casos;
    } clases[] = {
        {"whole mix", casos},
        {"with a Xing/Info header", DeClase(casos, ClaseMp3::ConCabecera)},
        {"CBR without a header", DeClase(casos, ClaseMp3::CbrSinCabecera)},
        {"VBR without a header", DeClase(casos, ClaseMp3::VbrSinCabecera)},
    };
    for (const auto& c : clases) {
        const ContraLecturaMinima m = ComparaConLecturaMinima(c.casos, 15);
        out << QStringLiteral("%1 (%2 files): DameInfoMp3 %3 ms against open+fstat+2 reads of 4 KB+close %4 ms: "
                              "%5x (median of 15)\n")
                   .arg(QLatin1String(c.nombre))
                   .arg(c.casos.size())
                   .arg(m.msPropio, 0, 'f', 1)
                   .arg(m.msMinima, 0, 'f', 1)
                   .arg(m.msPropio / m.msMinima, 0, 'f', 2)
            << Qt::flush;
    }
    // Headerless VBR of the length of songs: every frame is counted, so the
    // floor is reading the whole file.
    for (const auto& [segundos, cuantos] : {std::pair{30.0, 200}, std::pair{240.0, 40}}) {
        const QList<CasoMp3> largos = CreaCasosVbrLargos(carpeta, segundos, cuantos);
        const LecturaPropia aciertos = MideDameInfoMp3(largos);
        const ContraLecturaMinima m = ComparaConLecturaEntera(largos, 9);
        out << QStringLiteral("VBR without a header, %1 s (%2 files, %3 wrong): DameInfoMp3 %4 ms against reading "
                              "every byte in 1 MiB blocks %5 ms: %6x (goal <= 2x, median of 9)\n")
                   .arg(segundos)
                   .arg(largos.size())
                   .arg(aciertos.fallos)
                   .arg(m.msPropio, 0, 'f', 1)
                   .arg(m.msMinima, 0, 'f', 1)
                   .arg(m.msPropio / m.msMinima, 0, 'f', 2)
            << Qt::flush;
    }
    const PortadaJpegPng portada = MideEtiquetasConPortada(carpeta, 1500, 31);
    out << QStringLiteral("LeeEtiquetas, 1500x1500 cover: JPEG %1 ms (file of %2 bytes), PNG %3 ms (%4 bytes): %5x "
                          "(goal <= 1.5x, median of 31)\n")
               .arg(portada.msJpeg, 0, 'f', 3)
               .arg(portada.bytesJpeg)
               .arg(portada.msPng, 0, 'f', 3)
               .arg(portada.bytesPng)
               .arg(portada.msPng / portada.msJpeg, 0, 'f', 2)
        << Qt::flush;
    if (argc > 3) {
        for (int i = 0; i < casos.size(); ++i)
            if (r.propio[i] != casos[i].segundos || r.taglib[i] != casos[i].segundos)
                out << casos[i].ruta << " expected " << casos[i].segundos << " own " << r.propio[i] << " taglib "
                    << r.taglib[i] << "\n";
    }
    return 0;
}
