#include "worklist/listatrabajo.h"

#include <algorithm>
#include <utility>

#include "common/orden.h"

namespace {
bool antes(const FilaTrabajo& a, const FilaTrabajo& b) { return AntesQue(a.texto, b.texto); }
}  // namespace

int ListaTrabajo::Anade(const QString& texto, const QString& tag, const QString& tipo, const QString& icono)
{
    FilaTrabajo f;
    f.texto = texto;
    f.tag = tag;
    f.subItems = QStringList{tipo};
    f.icono = icono;
    ++version_;
    if (!ordenada_) {
        filas_.push_back(std::move(f));
        return Cuenta();
    }
    auto it = std::upper_bound(filas_.begin(), filas_.end(), f, antes);
    const int indice = int(it - filas_.begin()) + 1;
    filas_.insert(it, std::move(f));
    return indice;
}

void ListaTrabajo::Quita(int indice)
{
    filas_.erase(filas_.begin() + (indice - 1));
    ++version_;
}

void ListaTrabajo::PonOrdenada(bool ordenada)
{
    ordenada_ = ordenada;
    if (ordenada_)
        OrdenaPorNombre(filas_, [](const FilaTrabajo& f) -> const QString& { return f.texto; });
    ++version_;
}

QString ListaTrabajo::SubItem(int indice, int k) const
{
    const QStringList& s = Fila(indice).subItems;
    return k >= 1 && k <= s.size() ? s[k - 1] : QString();
}

void ListaTrabajo::PonSubItem(int indice, int k, const QString& texto)
{
    QStringList& s = Fila(indice).subItems;
    while (s.size() < k)
        s.append(QString());
    s[k - 1] = texto;
    ++version_;
}

namespace {
constexpr std::pair<ClaseFila, char> kLetras[] = {
    {ClaseFila::Carpeta, 'D'}, {ClaseFila::Expandida, '#'}, {ClaseFila::Mp3, 'f'}, {ClaseFila::Varios, 'v'},
    {ClaseFila::Imagen, 'p'},  {ClaseFila::Texto, 'c'},     {ClaseFila::Lista, 'l'}};
}  // namespace

ClaseFila ClaseDeLetra(const QString& letra)
{
    if (letra.size() == 1)
        for (auto [clase, c] : kLetras)
            if (letra[0] == QLatin1Char(c))
                return clase;
    return ClaseFila::Ninguna;
}

QString LetraDeClase(ClaseFila clase)
{
    for (auto [k, c] : kLetras)
        if (k == clase)
            return QString(QLatin1Char(c));
    return QString();
}
