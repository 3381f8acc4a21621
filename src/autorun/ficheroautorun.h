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
