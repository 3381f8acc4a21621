#include "decoding/mascaras.h"

#include "catalogue/mascarasbd.h"

int ListaMascaras::CargaMascaras(Catalogo& bd)
{
    slots_ = QStringList{QString(), QString()};
    slots_ += ListaMascarasGuardadas(bd);
    return UltimoSlot();
}

QString ListaMascaras::Mascara(int slot) const
{
    return slot >= 0 && slot < slots_.size() ? slots_[slot] : QString();
}

void ListaMascaras::SiguienteMascara(QString& patron, TablaComponentes& tabla, int& slot) const
{
    tabla = TablaComponentes{};
    ++slot;
    if (slot >= 2 && slot <= UltimoSlot() && slots_[slot] == slots_[1])
        ++slot;
    if (slot > UltimoSlot()) {
        slot = 0;
        return;
    }
    CompilaMascara(slots_[slot], patron, tabla);
}

void CompilaMascara(const QString& mascara, QString& patron, TablaComponentes& tabla)
{
    tabla = TablaComponentes{};
    patron.clear();
    int contador = 1;
    // Walking from the right, a letter seen again further left overwrites the
    // entry, so the leftmost occurrence is the one kept.
    for (int i = mascara.size() - 1; i >= 0; --i) {
        const QChar c = mascara[i];
        int* campo = nullptr;
        if (c == QLatin1Char('a'))
            campo = &tabla.autor;
        else if (c == QLatin1Char('d'))
            campo = &tabla.disco;
        else if (c == QLatin1Char('c'))
            campo = &tabla.cancion;
        else if (c == QLatin1Char('p'))
            campo = &tabla.posicion;
        if (campo || c == QLatin1Char('x')) {
            if (campo)
                *campo = contador;
            ++contador;
            patron.prepend(QLatin1Char('*'));
        } else {
            patron.prepend(c);
        }
    }
}

void AnadeMascara(Catalogo& bd, const QString& texto) { GuardaMascara(bd, texto); }

QStringList ListaMascarasGuardadas(Catalogo& bd) { return MascarasGuardadas(bd); }
