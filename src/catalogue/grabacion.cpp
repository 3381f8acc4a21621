#include "catalogue/grabacion.h"

#include <QHash>
#include <set>
#include <utility>
#include <vector>

#include "catalogue/nombres.h"
#include "catalogue/objetos.h"
#include "common/diario.h"
#include "common/ficheroregular.h"
#include "common/textos.h"
#include "mp3info/infomp3.h"
#include "store/catalogo.h"
#include "worklist/listatrabajo.h"

namespace {

// Ends the progress display however the recording ends.
class FinAvance {
public:
    explicit FinAvance(Avance* avance) : avance_(avance) {}
    ~FinAvance()
    {
        if (avance_)
            avance_->Termina();
    }
    FinAvance(const FinAvance&) = delete;
    FinAvance& operator=(const FinAvance&) = delete;

private:
    Avance* avance_;
};

// The authors and discs a CD names, each once in the order first met, and
// their ids, asked for all together: a server answers in a statement or two
// however many names the CD holds and in whatever order its rows come.
class NombresDelCd {
public:
    int Autor(const QString& nombre)
    {
        auto it = autores_.constFind(nombre);
        if (it != autores_.constEnd())
            return *it;
        nombresAutor_ << nombre;
        return *autores_.insert(nombre, int(autores_.size()));
    }
    int Varios() { return Autor(kVariosArtistas); }
    // A disc is told apart by its owner too, so a disc of one author is never
    // taken for the same name of another.
    int Disco(const QString& nombre, int autor)
    {
        const auto clave = std::make_pair(nombre, autor);
        auto it = discos_.constFind(clave);
        if (it != discos_.constEnd())
            return *it;
        nombresDisco_.push_back(clave);
        return *discos_.insert(clave, int(discos_.size()));
    }

    void PideIds(Catalogo& bd)
    {
        if (!nombresAutor_.isEmpty())
            idAutores_ = DameAutores(bd, nombresAutor_);
        std::vector<std::pair<QString, qint64>> discos;
        for (const auto& [nombre, autor] : nombresDisco_)
            discos.emplace_back(nombre, idAutores_[size_t(autor)]);
        if (!discos.empty())
            idDiscos_ = DameDiscos(bd, discos);
    }
    qint64 IdAutor(int i) const { return idAutores_[size_t(i)]; }
    qint64 IdDisco(int i) const { return idDiscos_[size_t(i)]; }

private:
    QHash<QString, int> autores_;
    QStringList nombresAutor_;
    QHash<std::pair<QString, int>, int> discos_;
    std::vector<std::pair<QString, int>> nombresDisco_;
    std::vector<qint64> idAutores_, idDiscos_;
};

}  // namespace

qint64 ValorPosicion(const QString& texto)
{
    int i = 0;
    const int n = int(texto.size());
    while (i < n && (texto[i] == QLatin1Char(' ') || texto[i] == QLatin1Char('\t')))
        ++i;
    bool negativo = false;
    if (i < n && (texto[i] == QLatin1Char('-') || texto[i] == QLatin1Char('+'))) {
        negativo = texto[i] == QLatin1Char('-');
        ++i;
    }
    qint64 valor = 0;
    // A long run of digits saturates rather than wrapping round.
    constexpr qint64 kTope = 1000000000000000LL;
    for (; i < n && texto[i] >= QLatin1Char('0') && texto[i] <= QLatin1Char('9'); ++i)
        if (valor < kTope)
            valor = valor * 10 + (texto[i].unicode() - '0');
    return negativo ? -valor : valor;
}

namespace {

const QString kGrabacionCancelada = QStringLiteral("Grabación cancelada: no se ha grabado nada del CD.");

// Why a file whose playing time could not be read cannot be read at all; an
// empty text when it opens (it is there, it just holds no audio).
QString PorQueNoSeLee(const QString& ruta)
{
    const FicheroRegular f(ruta, false);
    return f.abierto() ? QString() : RazonFallo(f.error());
}

}  // namespace

ResumenGrabacion GrabaCD(Catalogo& bd, const ListaTrabajo& lista, const DatosGrabacion& datos, Avance* avance)
{
    FinAvance fin(avance);
    // What the CD holds is read first (playing times, picture bytes): the
    // drive may be slow, and the catalogue is held for writing only while it
    // is written. A file that cannot be read (the disc taken out half way)
    // stops the recording before anything is written, so a CD is never
    // recorded with songs of no length.
    std::vector<qint64> segundos(size_t(lista.Cuenta()) + 1, 0);
    std::vector<QByteArray> imagenes(size_t(lista.Cuenta()) + 1);
    bool hayImagenes = false;
    const QString que = QStringLiteral("grabar el CD «%1»").arg(datos.descripcion);
    QStringList ilegibles;
    int leidos = 0;
    if (avance)
        avance->Empieza(lista.Cuenta());
    for (int i = 1; i <= lista.Cuenta(); ++i) {
        const ClaseFila clase = lista.Clase(i);
        const QString& ruta = lista.Fila(i).tag;
        if (lista.CuentaSubItems(i) > 1) {
            HP hp;
            if (EsMp3(clase)) {
                ++leidos;
                if (DameInfoMp3(ruta, hp))
                    segundos[size_t(i)] = hp.tiempo;
                else if (const QString razon = PorQueNoSeLee(ruta); !razon.isEmpty())
                    ilegibles << QStringLiteral("%1: %2").arg(ruta, razon);
            } else if (clase == ClaseFila::Imagen && datos.grabarImagenes &&
                       !lista.SubItem(i, columna::kDisco).isEmpty()) {
                hayImagenes = true;
                ++leidos;
                try {
                    imagenes[size_t(i)] = LeeImagenOrigen(ruta);
                } catch (const LodrinError& e) {
                    ilegibles << e.message();
                }
            }
        }
        if (avance)
            avance->Avanza(i);
        if (avance && avance->Cancelado())
            throw OperacionCancelada(kGrabacionCancelada);
    }
    if (!ilegibles.isEmpty())
        throw LodrinError(QStringLiteral("No se ha podido %1: no se pueden leer %2 de sus %3 ficheros, así que no "
                                         "se ha grabado nada.\n\n%4")
                              .arg(que)
                              .arg(ilegibles.size())
                              .arg(leidos)
                              .arg(ilegibles.join(QLatin1Char('\n'))));
    // One CD is one operation: recorded whole, or not at all.
    return Operacion(bd, que, [&](Transaccion&) {
        ResumenGrabacion resumen;
        std::set<qint64> discos;
        const qint64 idcd = DameCd(bd, datos.descripcion, datos.serial, true);
        // The picture copies of this recording wait under a token the CD
        // keeps: only a committed recording's copies are ever named.
        const QString token = Diario::NuevoToken();
        if (hayImagenes)
            bd.Ejecuta(QStringLiteral("update tlcd set dstoken = ? where idcd = ?"), {token, idcd});
        // The names first, all together; then the songs, then the covers.
        NombresDelCd nombres;
        std::vector<std::pair<int, int>> autorYDisco(size_t(lista.Cuenta()) + 1, {-1, -1});
        for (int i = 1; i <= lista.Cuenta(); ++i) {
            const ClaseFila clase = lista.Clase(i);
            if (lista.CuentaSubItems(i) <= 1)
                continue;
            if (EsMp3(clase)) {
                const int autor = nombres.Autor(lista.SubItem(i, columna::kAutor));
                const int propietario = clase == ClaseFila::Varios ? nombres.Varios() : autor;
                autorYDisco[size_t(i)] = {autor, nombres.Disco(lista.SubItem(i, columna::kDisco), propietario)};
            } else if (clase == ClaseFila::Imagen && datos.grabarImagenes && !lista.SubItem(i, columna::kDisco).isEmpty()) {
                const int autor = nombres.Autor(lista.SubItem(i, columna::kAutor));
                autorYDisco[size_t(i)] = {autor, nombres.Disco(lista.SubItem(i, columna::kDisco), autor)};
            }
        }
        nombres.PideIds(bd);

        CancionesNuevas canciones;
        std::vector<ObjetoNuevo> portadas;
        for (int i = 1; i <= lista.Cuenta(); ++i) {
            const auto [autor, disco] = autorYDisco[size_t(i)];
            if (autor < 0)
                continue;
            const FilaTrabajo& fila = lista.Fila(i);
            const ClaseFila clase = lista.Clase(i);
            if (EsMp3(clase)) {
                // A position the catalogue cannot hold counts as none, as an
                // edit refuses it.
                qint64 posicion = ValorPosicion(lista.SubItem(i, columna::kPosicion));
                if (!PosicionCabe(posicion))
                    posicion = 0;
                discos.insert(nombres.IdDisco(disco));
                ++resumen.canciones;
                canciones.Anade(lista.SubItem(i, columna::kCancion), nombres.IdAutor(autor), nombres.IdDisco(disco),
                                idcd, posicion, fila.texto, clase == ClaseFila::Varios, segundos[size_t(i)]);
            } else {
                portadas.push_back({nombres.IdDisco(disco), fila.texto, fila.tag, imagenes[size_t(i)]});
            }
            if (avance && avance->Cancelado())
                throw OperacionCancelada(kGrabacionCancelada);
        }
        canciones.Graba(bd);
        // The covers: rows and bytes together, each copy named at the commit.
        GrabaObjetos(bd, datos.dirPrograma, QStringLiteral("d"), portadas, token);
        if (!portadas.empty())
            ImagenesAlDisco(datos.dirPrograma);
        resumen.discos = int(discos.size());
        return resumen;
    });
}
