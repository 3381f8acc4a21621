#pragma once
#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <QStringList>

// The two image lists of the main window, ImgLSmall (16 x 16) and ImgLIco
// (32 x 32), addressed by their case-sensitive keys. The pictures are drawn.
class ListasImagenes {
public:
    ListasImagenes();
    static const QStringList& ClavesPequenas();
    static const QStringList& ClavesGrandes();
    // An unknown key gives a null icon.
    QIcon Pequena(const QString& clave) const { return pequenas_.value(clave); }
    QIcon Grande(const QString& clave) const { return grandes_.value(clave); }

private:
    QHash<QString, QIcon> pequenas_;
    QHash<QString, QIcon> grandes_;
};

// Draws the picture of a key at a size (keys of either list, any case).
QPixmap DibujaImagen(const QString& clave, int lado);
