#include "decoding/teclalista.h"

#include "decoding/campos.h"
#include "worklist/listatrabajo.h"

namespace {

bool recogible(ClaseFila clase) { return EsMp3(clase) || clase == ClaseFila::Imagen; }

}  // namespace

int FilasTrabajo::Cuenta() const { return lista_.Cuenta(); }
bool FilasTrabajo::Seleccionada(int i) const { return lista_.Fila(i).seleccionada; }
QString FilasTrabajo::Texto(int i) const { return lista_.Fila(i).texto; }
QString FilasTrabajo::Tipo(int i) const { return lista_.Tipo(i); }
int FilasTrabajo::CuentaSubItems(int i) const { return lista_.CuentaSubItems(i); }
QString FilasTrabajo::Campo(int i, int c) const { return lista_.SubItem(i, c); }
void FilasTrabajo::PonCampo(int i, int c, const QString& texto) { lista_.PonSubItem(i, c, texto); }
void FilasTrabajo::Quita(int i) { lista_.Quita(i); }

bool RecogeDatos(const FilasEditables& filas, DatosEntrada& datos)
{
    datos.habilitados = {true, true, true, true};
    datos.textos = {};
    bool alguna = false;
    QString textoPrimera;
    for (int i = filas.Cuenta(); i >= 1; --i) {
        if (!recogible(ClaseDeLetra(filas.Tipo(i))) || !filas.Seleccionada(i) || filas.CuentaSubItems(i) < 5)
            continue;
        if (!alguna) {
            alguna = true;
            textoPrimera = filas.Texto(i);
            for (int c = 0; c < 4; ++c)
                datos.textos[size_t(c)] = filas.Campo(i, c + 2);
            continue;
        }
        for (int c = 0; c < 4; ++c) {
            const QString t = filas.Campo(i, c + 2);
            QString& valor = datos.textos[size_t(c)];
            if (t.isEmpty() || !datos.habilitados[size_t(c)])
                continue;
            // An empty column must not block the change whichever row holds
            // it: the first non-empty text becomes the working value.
            if (valor.isEmpty()) {
                valor = t;
            } else if (t != valor) {
                datos.habilitados[size_t(c)] = false;
                valor.clear();
            }
        }
    }
    if (!alguna)
        return false;
    const bool todas = datos.habilitados[0] && datos.habilitados[1] && datos.habilitados[2] && datos.habilitados[3];
    datos.etiqueta = todas ? textoPrimera : QStringLiteral("Pon datos para varios ficheros");
    return true;
}

void EscribeDatos(FilasEditables& filas, const DatosEntrada& datos, const std::function<void(int)>& trasFila)
{
    for (int i = 1; i <= filas.Cuenta(); ++i) {
        const ClaseFila clase = ClaseDeLetra(filas.Tipo(i));
        if (!filas.Seleccionada(i) || !(recogible(clase) || clase == ClaseFila::Expandida))
            continue;
        for (int c = 2; c <= 5; ++c)
            if (datos.habilitados[size_t(c - 2)] && filas.CuentaSubItems(i) >= c)
                filas.PonCampo(i, c, datos.textos[size_t(c - 2)]);
        if (trasFila)
            trasFila(i);
    }
}

void BorraSeleccionadas(FilasEditables& filas, const std::function<void(int)>& antes)
{
    for (int i = filas.Cuenta(); i >= 1; --i) {
        if (!filas.Seleccionada(i))
            continue;
        if (antes)
            antes(i);
        filas.Quita(i);
    }
}

void GuardaEnCampos(const DatosEntrada& datos, CamposLlevados& campos)
{
    campos.autor = datos.textos[0];
    campos.disco = datos.textos[1];
    campos.cancion = datos.textos[2];
    campos.posicion = datos.textos[3];
}
