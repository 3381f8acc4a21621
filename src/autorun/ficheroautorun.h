#pragma once
#include <QDir>
#include <QLatin1StringView>
#include <QString>

// What the cataloguer and the viewer agree on about autorun.dat. Header only,
// so the viewer can use it without linking the cataloguer's logic.
namespace autorun {

inline constexpr QLatin1StringView kNombre{"autorun.dat"};
inline constexpr QLatin1StringView kLabel{"[label]"};
inline constexpr QLatin1StringView kImg{"[img]"};
inline constexpr QLatin1StringView kCanciones{"[canciones]"};
inline constexpr QLatin1StringView kFinLinea{"\r\n"};

// Whether a line is a section header: known by its first characters.
inline bool EsCabecera(const QString& linea)
{
    return linea.startsWith(kLabel) || linea.startsWith(kImg) || linea.startsWith(kCanciones);
}

// A name is written so that it is read back as the name it was: one that
// would read as a header, or that begins "[[", gets one more "[" in front,
// and the reader takes one "[" off any other line that begins "[[". Files
// written before never began a name with "[[" unless the name did.
inline QString LineaDeTexto(const QString& texto)
{
    return EsCabecera(texto) || texto.startsWith(QLatin1String("[[")) ? u'[' + texto : texto;
}

inline QString TextoDeLinea(const QString& linea)
{
    return linea.startsWith(QLatin1String("[[")) ? linea.mid(1) : linea;
}

// A various-artists song is written "title#@#performer". So that a title or
// performer holding "#@#" cannot be read as split there, every "#@" in them
// is written "#@@", which never reads as the separator; the reader takes the
// extra "@" back off each part.
inline constexpr QLatin1StringView kSeparadorInterprete{"#@#"};

inline QString EscapaSeparador(QString texto) { return texto.replace(QLatin1String("#@"), QLatin1String("#@@")); }

inline QString QuitaEscapeSeparador(QString texto)
{
    return texto.replace(QLatin1String("#@@"), QLatin1String("#@"));
}

// The file beside a program: its folder and the name, with one separator
// between them even when the folder is the root of a drive.
inline QString RutaFichero(const QString& carpeta)
{
    QString c = QDir::toNativeSeparators(carpeta);
    if (!c.endsWith(QDir::separator()))
        c += QDir::separator();
    return c + kNombre;
}

}  // namespace autorun
