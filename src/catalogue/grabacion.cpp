#include "catalogue/grabacion.h"

#include <set>
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

// The ids met so far in one recording, so that consecutive rows of one author
// and one disc look each of them up once.
class Memoria {
public:
    Memoria(Catalogo& bd) : bd_(bd) {}

    qint64 Autor(const QString& nombre)
    {
        if (!hayAutor_ || nombre != autor_) {
            QString n = nombre;
            idAutor_ = DameAutor(bd_, n, true);
            autor_ = nombre;
            hayAutor_ = true;
        }
        return idAutor_;
    }

    qint64 Varios()
    {
        if (idVarios_ == 0) {
            QString n = kVariosArtistas;
            idVarios_ = DameAutor(bd_, n, true);
        }
        return idVarios_;
    }

    // The disc is remembered together with the owner it was looked up under,
    // so a disc of one author is never taken for the same name of another.
    qint64 Disco(const QString& nombre, qint64 propietario)
    {
        if (!hayDisco_ || nombre != disco_ || propietario != propietario_) {
            QString n = nombre;
            idDisco_ = DameDisco(bd_, n, propietario, true);
            disco_ = nombre;
            propietario_ = propietario;
            hayDisco_ = true;
        }
        return idDisco_;
    }

private:
    Catalogo& bd_;
    bool hayAutor_ = false;
    QString autor_;
    qint64 idAutor_ = 0;
    qint64 idVarios_ = 0;
    bool hayDisco_ = false;
    QString disco_;
    qint64 propietario_ = 0;
    qint64 idDisco_ = 0;
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
        bool copias = false;
        ResumenGrabacion resumen;
        std::set<qint64> discos;
        const qint64 idcd = DameCd(bd, datos.descripcion, datos.serial, true);
        // The picture copies of this recording wait under a token the CD
        // keeps: only a committed recording's copies are ever named.
        const QString token = Diario::NuevoToken();
        if (hayImagenes)
            bd.Ejecuta(QStringLiteral("update tlcd set dstoken = ? where idcd = ?"), {token, idcd});
        Memoria memoria(bd);
        CancionesNuevas canciones;

        for (int i = 1; i <= lista.Cuenta(); ++i) {
            const FilaTrabajo& fila = lista.Fila(i);
            const ClaseFila clase = lista.Clase(i);
            const bool analizada = lista.CuentaSubItems(i) > 1;
            const bool cancion = EsMp3(clase);
            const bool imagen = clase == ClaseFila::Imagen;

            if (cancion && analizada) {
                const bool varios = clase == ClaseFila::Varios;
                const qint64 idautor = memoria.Autor(lista.SubItem(i, columna::kAutor));
                const qint64 propietario = varios ? memoria.Varios() : idautor;
                const qint64 iddisco = memoria.Disco(lista.SubItem(i, columna::kDisco), propietario);
                QString titulo = lista.SubItem(i, columna::kCancion);
                // A position the catalogue cannot hold counts as none, as an
                // edit refuses it.
                qint64 posicion = ValorPosicion(lista.SubItem(i, columna::kPosicion));
                if (!PosicionCabe(posicion))
                    posicion = 0;
                discos.insert(iddisco);
                ++resumen.canciones;
                canciones.Anade(titulo, idautor, iddisco, idcd, posicion, fila.texto, varios, segundos[size_t(i)]);
            } else if (imagen && analizada && datos.grabarImagenes) {
                const QString disco = lista.SubItem(i, columna::kDisco);
                if (!disco.isEmpty()) {
                    const qint64 idautor = memoria.Autor(lista.SubItem(i, columna::kAutor));
                    const qint64 iddisco = memoria.Disco(disco, idautor);
                    GrabaObjeto(bd, datos.dirPrograma, QStringLiteral("d"), iddisco, fila.texto, fila.tag, true,
                                imagenes[size_t(i)], token);
                    copias = true;
                }
            }
            if (avance && avance->Cancelado())
                throw OperacionCancelada(kGrabacionCancelada);
        }
        // The songs go in together: on a server, a few statements for the CD.
        canciones.Graba(bd);
        if (copias)
            ImagenesAlDisco(datos.dirPrograma);
        resumen.discos = int(discos.size());
        return resumen;
    });
}
