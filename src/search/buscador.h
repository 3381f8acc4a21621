#pragma once
#include <QObject>
#include <QString>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "search/busqueda.h"
#include "store/ubicacion.h"

// Searches the catalogue on a thread of its own, through a connection of its
// own that only reads, so typing never waits for a search. Only the latest
// request counts: one that waits is replaced by a newer one, and the answer
// to a request overtaken by another is never told. What the program commits
// is seen by the next search.
class BuscadorCatalogo : public QObject {
    Q_OBJECT
public:
    // ubicacion is the catalogue the program has already opened.
    explicit BuscadorCatalogo(const UbicacionCatalogo& ubicacion, QObject* padre = nullptr);
    // Waits for a search under way to end.
    ~BuscadorCatalogo() override;

    // Asks for the songs holding every word of texto, sorted by the list
    // column columnaOrden; an answer comes through Encontrado or Fallo, in
    // this object's thread. A text of no words is answered too, with nothing.
    void Busca(const QString& texto, int columnaOrden = columnaBD::kAutor, int limite = kLimiteBusqueda);
    // Forgets any request made so far: no answer to it comes.
    void Olvida();

signals:
    void Encontrado(const ResultadoBusqueda& resultado);
    // The reason in Spanish, naming the catalogue.
    void Fallo(const QString& mensaje);

private:
    struct Peticion {
        quint64 numero;
        QString texto;
        int columna;
        int limite;
    };
    void trabaja();
    void responde(quint64 numero, const ResultadoBusqueda& r, const QString& fallo);

    const UbicacionCatalogo ubicacion_;
    std::mutex mutex_;
    std::condition_variable aviso_;
    std::optional<Peticion> pendiente_;
    quint64 ultima_ = 0;  // read and written under mutex_
    bool fin_ = false;
    std::thread hilo_;
};
