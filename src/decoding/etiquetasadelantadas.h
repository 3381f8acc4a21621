#pragma once
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "mp3info/etiquetas.h"

// The tags of the MP3 rows of a run, each read once, when first wanted. Once
// two rows in a row have wanted theirs (the paths say too little, so every
// file's tags are asked for), the rows that follow are read ahead by about one
// reader per core while the decoding goes on; a file a mask settles on its own
// before that is never opened.
class EtiquetasAdelantadas {
public:
    // rutas: the file of each row (by row number, 1-based; empty for the
    // rows that are not read); orden: the rows the run decodes, in order.
    EtiquetasAdelantadas(QStringList rutas, std::vector<int> orden);
    ~EtiquetasAdelantadas();
    EtiquetasAdelantadas(const EtiquetasAdelantadas&) = delete;
    EtiquetasAdelantadas& operator=(const EtiquetasAdelantadas&) = delete;

    // The tags of row i, read here unless a reader has them or is at them.
    const EtiquetasFichero& De(int i);

private:
    enum Estado { kSinLeer, kLeyendo, kLeida };
    void Adelanta(size_t desde);
    void Lector();
    void Lee(int i);

    const QStringList rutas_;
    const std::vector<int> orden_;
    std::vector<int> posicion_;  // row -> its place in orden_, -1 when none
    std::vector<EtiquetasFichero> leidas_;
    std::unique_ptr<std::atomic<int>[]> estado_;
    std::vector<bool> pedida_;
    std::mutex m_;
    std::condition_variable hayTrabajo_, hayLeida_;
    size_t proxima_ = 0;  // the next place in orden_ a reader takes
    size_t hasta_ = 0;    // places before this one are to be read ahead
    bool parar_ = false;
    std::vector<std::thread> lectores_;
};
