#pragma once
#include <QList>
#include <functional>

#include "decoding/elector.h"

// Answers the choice among decodings from a script and remembers what it was
// shown. By default it gives up (0).
class ElectorGuionado : public ElectorDecodificacion {
public:
    struct Vista {
        QString ruta;
        QList<CandidatoDecodificacion> candidatos;  // as listed, best first
    };
    // Returns the 1-based row to pick, 0 to give up; may tick the box.
    std::function<int(const Vista&, bool& mismoDir)> responde = [](const Vista&, bool&) { return 0; };

    void BorrarLista() override { orden.Limpia(); }
    void AnadeCandidato(const CandidatoDecodificacion& c) override { orden.Anade(c); }
    bool MismoDir() const override { return mismoDir; }
    void LimpiaMismoDir() override { mismoDir = false; }
    int Muestra(const QString& ruta) override
    {
        Vista v{ruta, {}};
        for (int i = 1; i <= orden.Cuenta(); ++i)
            v.candidatos << orden.Fila(i);
        vistas << v;
        return responde(v, mismoDir);
    }
    CandidatoDecodificacion Candidato(int fila) const override { return orden.Fila(fila); }

    // The row whose mask is the given one (0 when none is).
    static int FilaDe(const Vista& v, const QString& mascara, int cual = 1)
    {
        for (int i = 0; i < v.candidatos.size(); ++i)
            if (v.candidatos[i].mascara == mascara && --cual == 0)
                return i + 1;
        return 0;
    }
    // A script that picks the first candidate of a mask, optionally ticking the box.
    static std::function<int(const Vista&, bool&)> Elige(const QString& mascara, bool marcar = false)
    {
        return [mascara, marcar](const Vista& v, bool& mismo) {
            if (marcar)
                mismo = true;
            return FilaDe(v, mascara);
        };
    }

    CandidatosOrdenados orden;
    bool mismoDir = false;
    QList<Vista> vistas;
};
