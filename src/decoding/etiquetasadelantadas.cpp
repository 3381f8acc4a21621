#include "decoding/etiquetasadelantadas.h"

#include <QThread>
#include <algorithm>

namespace {
// Rows read ahead of the one the decoding is at, for each reader.
constexpr size_t kAdelantoPorLector = 32;
}

EtiquetasAdelantadas::EtiquetasAdelantadas(QStringList rutas, std::vector<int> orden)
    : rutas_(std::move(rutas)), orden_(std::move(orden)), posicion_(size_t(rutas_.size()), -1),
      leidas_(size_t(rutas_.size())), estado_(new std::atomic<int>[size_t(rutas_.size())]),
      pedida_(size_t(rutas_.size()), false)
{
    for (qsizetype i = 0; i < rutas_.size(); ++i)
        estado_[size_t(i)] = kSinLeer;
    for (size_t k = 0; k < orden_.size(); ++k)
        posicion_[size_t(orden_[k])] = int(k);
}

EtiquetasAdelantadas::~EtiquetasAdelantadas()
{
    {
        const std::lock_guard<std::mutex> g(m_);
        parar_ = true;
    }
    hayTrabajo_.notify_all();
    for (std::thread& t : lectores_)
        t.join();
}

void EtiquetasAdelantadas::Lee(int i)
{
    LeeEtiquetas(rutas_[i], leidas_[size_t(i)]);  // a file without tags leaves them empty
    {
        const std::lock_guard<std::mutex> g(m_);
        estado_[size_t(i)] = kLeida;
    }
    hayLeida_.notify_all();
}

const EtiquetasFichero& EtiquetasAdelantadas::De(int i)
{
    const int k = posicion_[size_t(i)];
    if (k >= 0) {
        pedida_[size_t(i)] = true;
        if (k > 0 && pedida_[size_t(orden_[size_t(k - 1)])])
            Adelanta(size_t(k) + 1);
    }
    int e = kSinLeer;
    if (estado_[size_t(i)].compare_exchange_strong(e, kLeyendo)) {
        Lee(i);
    } else if (e == kLeyendo) {
        std::unique_lock<std::mutex> g(m_);
        hayLeida_.wait(g, [&] { return estado_[size_t(i)] == kLeida; });
    }
    return leidas_[size_t(i)];
}

void EtiquetasAdelantadas::Adelanta(size_t desde)
{
    if (lectores_.empty()) {
        const int n = std::max(1, QThread::idealThreadCount());
        for (int t = 0; t < n; ++t)
            lectores_.emplace_back([this] { Lector(); });
    }
    {
        const std::lock_guard<std::mutex> g(m_);
        proxima_ = std::max(proxima_, desde);
        hasta_ = std::min(orden_.size(), std::max(hasta_, desde + kAdelantoPorLector * lectores_.size()));
    }
    hayTrabajo_.notify_all();
}

void EtiquetasAdelantadas::Lector()
{
    for (;;) {
        int i;
        {
            std::unique_lock<std::mutex> g(m_);
            hayTrabajo_.wait(g, [&] { return parar_ || proxima_ < hasta_; });
            if (parar_)
                return;
            i = orden_[proxima_++];
        }
        int e = kSinLeer;
        if (estado_[size_t(i)].compare_exchange_strong(e, kLeyendo))
            Lee(i);
    }
}
