#pragma once
#include <QObject>
#include <QString>
#include <memory>

#include "store/ubicacion.h"

class Catalogo;

// The catalogue open now: where it lives, its connection, the folder of its
// pictures (also where autorun.dat and listings are written), read-only or
// not. Windows read the catalogue through it and hear Cambiado when another
// one takes its place. The one it starts with is lent by its maker (main(),
// a test) and already opened by the window's start-up; those opened later it
// owns.
class SesionCatalogo : public QObject {
    Q_OBJECT
public:
    SesionCatalogo(Catalogo& inicial, const QString& carpeta, QObject* padre = nullptr);
    ~SesionCatalogo() override;

    Catalogo& bd() const { return *bd_; }
    const UbicacionCatalogo& ubicacion() const;
    const QString& carpeta() const { return carpeta_; }
    bool SoloLectura() const;

    // Opens u in place of the catalogue in use, which is closed once the new
    // one is open. A catalogue that cannot be opened throws LodrinError and
    // the one in use stays open, untouched. Emits Cambiado.
    void Abre(const UbicacionCatalogo& u);

    // The folder that goes with a catalogue: beside anterior.mdb, or beside
    // the lodrin.ini that names a server; a file of another name gets a
    // folder of its own beside it ("otro.mdb" -> "otro.lodrin"), so two
    // catalogues in one folder never share picture copies; a server named
    // only in the window uses porDefecto, whose cache mark tells catalogues
    // apart.
    static QString CarpetaDe(const UbicacionCatalogo& u, const QString& porDefecto);

signals:
    void Cambiado();

private:
    Catalogo* bd_;
    std::unique_ptr<Catalogo> propio_;
    QString carpeta_;
    const QString carpetaInicial_;
    int abiertos_ = 0;
};
