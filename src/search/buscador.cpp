#include "search/buscador.h"

#include <QMetaObject>
#include <atomic>

#include "store/catalogo.h"

namespace {
std::atomic<int> contadorConexiones{0};
}

BuscadorCatalogo::BuscadorCatalogo(const UbicacionCatalogo& ubicacion, QObject* padre)
    : QObject(padre), ubicacion_(ubicacion), hilo_([this] { trabaja(); })
{
}

BuscadorCatalogo::~BuscadorCatalogo()
{
    {
        std::lock_guard<std::mutex> l(mutex_);
        fin_ = true;
        pendiente_.reset();
    }
    aviso_.notify_one();
    hilo_.join();
}

void BuscadorCatalogo::Busca(const QString& texto, int columnaOrden, int limite)
{
    {
        std::lock_guard<std::mutex> l(mutex_);
        pendiente_ = Peticion{++ultima_, texto, columnaOrden, limite};
    }
    aviso_.notify_one();
}

void BuscadorCatalogo::Olvida()
{
    std::lock_guard<std::mutex> l(mutex_);
    ++ultima_;
    pendiente_.reset();
}

void BuscadorCatalogo::trabaja()
{
    // The connection belongs to this thread: made, used and closed here.
    Catalogo bd(ubicacion_, QStringLiteral("busqueda_%1").arg(++contadorConexiones));
    bool abierto = false;
    for (;;) {
        Peticion p;
        {
            std::unique_lock<std::mutex> l(mutex_);
            aviso_.wait(l, [this] { return fin_ || pendiente_.has_value(); });
            if (fin_)
                return;
            p = std::move(*pendiente_);
            pendiente_.reset();
        }
        ResultadoBusqueda r;
        QString fallo;
        try {
            if (!abierto) {
                bd.AbreParaLeer();
                abierto = true;
            }
            r = BuscaCanciones(bd, p.texto, p.columna, p.limite);
        } catch (const LodrinError& e) {
            fallo = QStringLiteral("No se ha podido buscar en el catálogo %1: %2").arg(ubicacion_.Nombre(), e.message());
        }
        // Told in the owner's thread; dropped if the owner is gone by then.
        QMetaObject::invokeMethod(
            this, [this, n = p.numero, r = std::move(r), fallo] { responde(n, r, fallo); }, Qt::QueuedConnection);
    }
}

void BuscadorCatalogo::responde(quint64 numero, const ResultadoBusqueda& r, const QString& fallo)
{
    {
        std::lock_guard<std::mutex> l(mutex_);
        if (numero != ultima_)
            return;
    }
    if (fallo.isEmpty())
        emit Encontrado(r);
    else
        emit Fallo(fallo);
}
