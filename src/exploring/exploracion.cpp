#include "exploring/exploracion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "common/avance.h"
#include "common/lodrinerror.h"
#include "common/rutas.h"

namespace {

const QString kCarpeta = LetraDeClase(ClaseFila::Carpeta);
const QString kExpandida = LetraDeClase(ClaseFila::Expandida);
const QLatin1Char kBarra('\\');

// The kind of a file by the end of its path; only the last four characters
// can decide "*.MP?", "*.GIF" and the like.
ClaseFichero ClasePorExtension(const QString& ruta)
{
    if (ruta.size() < 4)
        return {};
    const QStringView fin = QStringView(ruta).right(4);
    if (fin[0] != QLatin1Char('.'))
        return {};
    auto es = [&](const char* extension) { return fin.compare(QLatin1String(extension), Qt::CaseInsensitive) == 0; };
    if (fin[1].toUpper() == QLatin1Char('M') && fin[2].toUpper() == QLatin1Char('P'))
        return {QStringLiteral("f"), QStringLiteral("mp3")};
    if (es(".GIF") || es(".JPG"))
        return {QStringLiteral("p"), QStringLiteral("img")};
    if (es(".DOC") || es(".TXT"))
        return {QStringLiteral("c"), QStringLiteral("text")};
    if (es(".M3U"))
        return {QStringLiteral("l"), QStringLiteral("list")};
    return {};
}

// A row found by expansion before this run (none is left by the program's own
// steps): its root is the nearest folder root above it whose text begins its own.
bool BaseDeRaizAnterior(const ListaTrabajo& lista, int indice, QString& base)
{
    const QString& texto = lista.Fila(indice).texto;
    for (int i = indice - 1; i >= 1; --i) {
        const FilaTrabajo& f = lista.Fila(i);
        if (!f.tag.isEmpty() && EsCarpeta(lista.Clase(i)) && texto.startsWith(f.texto)) {
            base = f.tag;
            return true;
        }
    }
    return false;
}

QString SinSeparadorFinal(QString ruta)
{
    while (ruta.size() > 1 && ruta.endsWith(QDir::separator()))
        ruta.chop(1);
    return ruta;
}

bool YaEnLaLista(const ListaTrabajo& lista, const QString& ruta, bool carpeta)
{
    for (int i = 1; i <= lista.Cuenta(); ++i) {
        const FilaTrabajo& f = lista.Fila(i);
        if (f.tag.isEmpty())
            continue;
        if (carpeta && EsCarpeta(lista.Clase(i))) {
            if (SinSeparadorFinal(rutas::Nativa(f.tag, f.texto)) == SinSeparadorFinal(ruta))
                return true;
        } else if (!carpeta && !EsCarpeta(lista.Clase(i)) && f.tag == ruta) {
            return true;
        }
    }
    return false;
}

}  // namespace

ClaseFichero TipoFichero(QString& ruta, bool carpetaCerrada)
{
    if (!ruta.isEmpty() && QFileInfo(ruta).isDir()) {
        if (!ruta.endsWith(QDir::separator()))
            ruta += QDir::separator();
        return {kCarpeta, carpetaCerrada ? QStringLiteral("cerrada") : QStringLiteral("abierta")};
    }
    return ClasePorExtension(ruta);
}

QString DameFicheros(ListaTrabajo& lista, const QString& relativa, const QString& base)
{
    const QString carpeta = rutas::ConSeparador(rutas::Nativa(base, relativa));
    const QByteArray nativa = QFile::encodeName(carpeta);
    // Read straight from the directory: the entry's type comes with its name,
    // so only links and unknown types cost a look at the file itself.
    DIR* dir = ::access(nativa.constData(), R_OK | X_OK) == 0 ? ::opendir(nativa.constData()) : nullptr;
    if (!dir)
        throw LodrinError(QStringLiteral("No se puede leer la carpeta %1").arg(carpeta));
    struct Cierra {
        DIR* d;
        ~Cierra() { ::closedir(d); }
    } cierra{dir};
    QString prefijo = relativa;
    if (!prefijo.isEmpty() && !prefijo.endsWith(kBarra))
        prefijo += kBarra;

    while (const dirent* e = ::readdir(dir)) {
        // Hidden entries (and "." and "..") stay out.
        if (e->d_name[0] == '.')
            continue;
        bool esCarpeta = e->d_type == DT_DIR;
        bool esFichero = e->d_type == DT_REG;
        if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
            // A link to a folder may lead back up the tree and never end;
            // devices, sockets, pipes and broken links stay out.
            struct stat st;
            const int como = e->d_type == DT_LNK ? 0 : AT_SYMLINK_NOFOLLOW;
            if (::fstatat(::dirfd(dir), e->d_name, &st, como) != 0)
                continue;
            esCarpeta = e->d_type == DT_UNKNOWN && S_ISDIR(st.st_mode);
            esFichero = S_ISREG(st.st_mode);
        }
        if (!esCarpeta && !esFichero)
            continue;
        // File names are UTF-8 here, as Qt takes them.
        const QString nombre = QString::fromUtf8(e->d_name);
        if (esCarpeta) {
            // A '\' in the name cannot be told from a folder boundary.
            if (nombre.contains(kBarra))
                continue;
            lista.Anade(prefijo + nombre + kBarra, QString(), kCarpeta, QStringLiteral("abierta"));
        } else {
            const ClaseFichero c = ClasePorExtension(nombre);
            if (!c.tipo.isEmpty())
                lista.Anade(prefijo + nombre, carpeta + nombre, c.tipo, c.icono);
        }
    }
    return kExpandida;
}

QStringList SacarDirectorios(ListaTrabajo& lista, Avance* avance)
{
    QStringList fallidas;
    // Rows are appended while expanding; a sorted list would move them.
    const bool ordenada = lista.Ordenada();
    lista.PonOrdenada(false);
    const int inicial = lista.Cuenta();
    // The base of each row appended in this run, by its index past `inicial`;
    // rows found by expansion carry an empty tag.
    std::vector<QString> bases;
    for (int i = 1; i <= lista.Cuenta(); ++i) {
        if (lista.Clase(i) != ClaseFila::Carpeta)
            continue;
        if (avance && avance->Cancelado())
            break;
        const QString texto = lista.Fila(i).texto;
        QString base = lista.Fila(i).tag;
        bool conBase = true;
        if (base.isEmpty()) {
            if (i > inicial)
                base = bases[size_t(i - inicial - 1)];
            else
                conBase = BaseDeRaizAnterior(lista, i, base);
        }
        QString marca = kExpandida;
        if (conBase) {
            try {
                marca = DameFicheros(lista, texto, base);
            } catch (const LodrinError&) {
                fallidas << rutas::ConSeparador(rutas::Nativa(base, texto));
            }
        }
        bases.resize(size_t(lista.Cuenta() - inicial), base);
        lista.PonSubItem(i, 1, marca);
        lista.Fila(i).icono = QStringLiteral("abierta");
    }
    if (ordenada)
        lista.PonOrdenada(true);
    return fallidas;
}

QStringList Busca(ListaTrabajo& lista, Avance* avance)
{
    lista.PonOrdenada(false);
    QStringList fallidas = SacarDirectorios(lista, avance);
    lista.PonOrdenada(true);
    return fallidas;
}

int AnadeSoltadas(ListaTrabajo& lista, const QStringList& rutasSoltadas, QStringList* desaparecidas)
{
    int anadidas = 0;
    for (const QString& soltada : rutasSoltadas) {
        if (soltada.isEmpty())
            continue;
        QString ruta = QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(soltada).absoluteFilePath()));
        if (!QFileInfo::exists(ruta)) {
            if (desaparecidas)
                *desaparecidas << ruta;
            continue;
        }
        const int ultima = int(ruta.lastIndexOf(QDir::separator()));
        const ClaseFichero c = TipoFichero(ruta, true);
        if (c.tipo.isEmpty())
            continue;
        const bool carpeta = c.tipo == kCarpeta;
        QString tag;
        QString texto;
        if (carpeta) {
            tag = ruta.left(ultima + 1);
            texto = SinSeparadorFinal(ruta.mid(ultima + 1));
            if (texto == QDir::separator())
                texto.clear();
            // The text is relative with '\' between folders; a name holding a
            // '\' could not be found again.
            if (texto.contains(kBarra))
                continue;
            if (!texto.isEmpty())
                texto += kBarra;
        } else {
            tag = ruta;
            texto = ruta.mid(ultima + 1);
        }
        if (YaEnLaLista(lista, ruta, carpeta))
            continue;
        lista.Anade(texto, tag, c.tipo, c.icono);
        ++anadidas;
    }
    return anadidas;
}
