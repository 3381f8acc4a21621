#include "mp3info/etiquetas.h"

#include <QBuffer>
#include <array>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <cerrno>
#include <QSet>
#include <functional>
#include <ctime>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <taglib/apeitem.h>
#include <taglib/apetag.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tiostream.h>

#include "common/diario.h"
#include "common/lodrinerror.h"
#include "common/textos.h"
#include "common/ficheroregular.h"
#include "mp3info/id3v2crudo.h"
#include "mp3info/tagid3.h"
#include "mp3info/textosid3v2.h"

namespace {

QString Texto(const TagLib::String& s) { return QString::fromUtf8(s.toCString(true)).trimmed(); }

TagLib::String TextoTagLib(const QString& s)
{
    return TagLib::String(s.toUtf8().constData(), TagLib::String::UTF8);
}

// A file opened by the non-blocking helper, read by TagLib. TagLib's many
// small reads at the head and the tail are served from one read of each;
// any other range is read as asked.
class FlujoLectura : public TagLib::IOStream {
public:
    explicit FlujoLectura(const FicheroRegular& f) : f_(f) {}

    TagLib::FileName name() const override { return ""; }
    TagLib::ByteVector readBlock(unsigned long n) override
    {
        const qint64 largo = f_.largo();
        // TagLib may have sought past the end: nothing is left there.
        n = static_cast<unsigned long>(qMin(qint64(n), qMax<qint64>(0, largo - pos_)));
        if (n == 0)
            return {};
        if (pos_ + qint64(n) <= kTrozo && cabeza_.Trae(f_, 0, qMin(kTrozo, largo)))
            return cabeza_.Sirve(pos_, n);
        const qint64 inicioCola = qMax<qint64>(0, largo - kTrozo);
        if (pos_ >= inicioCola && cola_.Trae(f_, inicioCola, largo - inicioCola))
            return cola_.Sirve(pos_, n);
        TagLib::ByteVector v(static_cast<unsigned int>(n), 0);
        const qint64 leidos = qMax<qint64>(0, f_.Lee(pos_, v.data(), qint64(n)));
        v.resize(static_cast<unsigned int>(leidos));
        pos_ += leidos;
        return v;
    }
    void writeBlock(const TagLib::ByteVector&) override {}
    void insert(const TagLib::ByteVector&, unsigned long, unsigned long) override {}
    void removeBlock(unsigned long, unsigned long) override {}
    bool readOnly() const override { return true; }
    bool isOpen() const override { return f_.abierto(); }
    void seek(long offset, Position p) override
    {
        pos_ = p == Beginning ? offset : p == Current ? pos_ + offset : f_.largo() + offset;
        pos_ = qMax<qint64>(0, pos_);
    }
    long tell() const override { return long(pos_); }
    long length() override { return long(f_.largo()); }
    void truncate(long) override {}

private:
    // The first and the last bytes hold the tags' headers and footers; a tag
    // itself is read as asked, in one call, whatever its size.
    static constexpr qint64 kTrozo = 4 * 1024;

    // A stretch read once, in place: no allocation per file.
    struct Trozo {
        std::array<char, kTrozo> b;
        qint64 desde = 0;
        qint64 n = -1;  // not read yet
        bool Trae(const FicheroRegular& f, qint64 inicio, qint64 largo)
        {
            if (n < 0) {
                desde = inicio;
                n = f.Lee(inicio, b.data(), largo) == largo ? largo : 0;
            }
            return n == largo;
        }
        TagLib::ByteVector Sirve(qint64& pos, unsigned long cuantos) const
        {
            const TagLib::ByteVector v(b.data() + (pos - desde), static_cast<unsigned int>(cuantos));
            pos += qint64(cuantos);
            return v;
        }
    };

    const FicheroRegular& f_;
    qint64 pos_ = 0;
    Trozo cabeza_, cola_;
};

// TagLib over a file opened by the non-blocking helper, only for its tags:
// the playing time is our own reader's.
class Mp3TagLib {
public:
    explicit Mp3TagLib(const FicheroRegular& f) : flujo_(f)
    {
        if (!f.abierto())
            return;
        mp3_ = std::make_unique<TagLib::MPEG::File>(&flujo_, TagLib::ID3v2::FrameFactory::instance(), false);
        if (!mp3_->isValid())
            mp3_.reset();
    }
    TagLib::MPEG::File* operator->() const { return mp3_.get(); }
    explicit operator bool() const { return mp3_ != nullptr; }

private:
    FlujoLectura flujo_;
    std::unique_ptr<TagLib::MPEG::File> mp3_;
};

const TagLib::ID3v2::FrameList* Marcos(const TagLib::ID3v2::Tag* t, const char* id)
{
    const auto& mapa = t->frameListMap();
    const auto it = mapa.find(id);
    return it == mapa.end() || it->second.isEmpty() ? nullptr : &it->second;
}

// The APE item that carries a front cover: its name, a zero byte, the picture.
const char* const kPortadaApe = "COVER ART (FRONT)";

QString TextoApe(const TagLib::APE::Tag* t, const char* clave)
{
    const auto& mapa = t->itemListMap();
    const auto it = mapa.find(clave);
    return it == mapa.end() ? QString() : Texto(it->second.toString());
}

bool EsJpeg(const QByteArray& b) { return b.startsWith("\xFF\xD8"); }
bool EsGif(const QByteArray& b) { return b.startsWith("GIF8"); }

// The extension a picture will have as a file; empty when it cannot be shown.
// Every tag read asks it, so the pixels are never decoded for it: a kind
// other than GIF and JPEG is known by what its header says.
QString ExtensionPortada(const QByteArray& bytes)
{
    if (EsJpeg(bytes))
        return QStringLiteral(".jpg");
    if (EsGif(bytes))
        return QStringLiteral(".gif");
    QBuffer b;
    b.setData(bytes);
    b.open(QIODevice::ReadOnly);
    QImageReader r(&b);
    const bool legible = r.canRead() && (!r.supportsOption(QImageIOHandler::Size) || r.size().isValid());
    return legible ? QStringLiteral(".jpg") : QString();
}

PortadaFichero ComoFichero(const QByteArray& bytes)
{
    if (EsJpeg(bytes))
        return {bytes, QStringLiteral(".jpg")};
    if (EsGif(bytes))
        return {bytes, QStringLiteral(".gif")};
    const QImage imagen = QImage::fromData(bytes);
    if (imagen.isNull())
        return {};
    QByteArray jpeg;
    QBuffer b(&jpeg);
    b.open(QIODevice::WriteOnly);
    if (!imagen.save(&b, "JPEG", 90))
        return {};
    return {jpeg, QStringLiteral(".jpg")};
}

QByteArray Bytes(const TagLib::ByteVector& v) { return QByteArray(v.data(), int(v.size())); }

QString Falla(const QString& ruta, const QString& motivo)
{
    return QStringLiteral("No se puede escribir el tag del fichero:\n%1\n%2").arg(ruta, motivo);
}

void PonTexto(TagLib::ID3v2::Tag* t, const char* id, const QString& valor)
{
    t->removeFrames(id);
    auto* marco = new TagLib::ID3v2::TextIdentificationFrame(id, TagLib::String::UTF8);
    marco->setText(TextoTagLib(valor));
    t->addFrame(marco);
}

// A field the row does not know leaves the frame the file had.
bool Conocido(const QString& v) { return !v.isEmpty() && v != kVacio; }

// The bytes of the cover a file carries: the ID3v2 front cover (or its
// first picture), else the APEv2 front cover; empty when none. They stay
// TagLib's, not copied, until a copy is wanted.
TagLib::ByteVector BytesPortada(TagLib::MPEG::File* mp3)
{
    if (mp3->hasID3v2Tag()) {
        if (const auto* marcos = Marcos(mp3->ID3v2Tag(), "APIC")) {
            const TagLib::ID3v2::AttachedPictureFrame* elegido = nullptr;
            for (auto* m : *marcos) {
                auto* imagen = dynamic_cast<const TagLib::ID3v2::AttachedPictureFrame*>(m);
                if (imagen && (!elegido || (imagen->type() == TagLib::ID3v2::AttachedPictureFrame::FrontCover &&
                                            elegido->type() != TagLib::ID3v2::AttachedPictureFrame::FrontCover)))
                    elegido = imagen;
            }
            if (elegido && !elegido->picture().isEmpty())
                return elegido->picture();
        }
    }
    if (mp3->hasAPETag()) {
        const auto& mapa = mp3->APETag()->itemListMap();
        const auto it = mapa.find(kPortadaApe);
        if (it != mapa.end()) {
            const TagLib::ByteVector dato = it->second.binaryData();
            const int cero = dato.find(TagLib::ByteVector(1, '\0'));
            if (cero >= 0)
                return dato.mid(static_cast<unsigned int>(cero) + 1);
        }
    }
    return {};
}

}  // namespace

namespace {

void Llena(QString& campo, const QString& valor)
{
    if (campo.isEmpty())
        campo = valor;
}

// What TagLib left empty of the ID3v2 tag, from our own reader: it is only
// run when a field the candidate wants is missing.
bool CompletaId3v2(const FicheroRegular& f, EtiquetasFichero& e)
{
    if (!e.artista.isEmpty() && !e.album.isEmpty() && !e.titulo.isEmpty() && e.pista != 0)
        return false;
    const TextosId3v2 t = LeeTextosId3v2(f);
    Llena(e.artista, t.artista);
    Llena(e.album, t.album);
    Llena(e.titulo, t.titulo);
    Llena(e.artistaAlbum, t.artistaAlbum);
    if (e.pista == 0)
        e.pista = NumeroDePista(t.pista);
    return !(t.artista.isEmpty() && t.album.isEmpty() && t.titulo.isEmpty() && t.pista.isEmpty() &&
             t.artistaAlbum.isEmpty());
}

}  // namespace

bool LeeEtiquetas(const QString& rutaCompleta, EtiquetasFichero& e)
{
    e = EtiquetasFichero{};
    const FicheroRegular f(rutaCompleta, false);
    const Mp3TagLib mp3(f);
    if (!mp3)
        return false;
    bool hay = false;
    if (mp3->hasID3v2Tag()) {
        const TagLib::ID3v2::Tag* t = mp3->ID3v2Tag();
        hay = true;
        e.artista = Texto(t->artist());
        e.album = Texto(t->album());
        e.titulo = Texto(t->title());
        if (const auto* m = Marcos(t, "TRCK"))
            e.pista = NumeroDePista(Texto(m->front()->toString()));
        if (const auto* m = Marcos(t, "TPE2"))
            e.artistaAlbum = Texto(m->front()->toString());
    }
    // ID3v2 speaks before APEv2, so what TagLib missed of it comes first.
    hay = CompletaId3v2(f, e) || hay;
    if (mp3->hasAPETag()) {
        const TagLib::APE::Tag* t = mp3->APETag();
        hay = true;
        Llena(e.artista, Texto(t->artist()));
        Llena(e.album, Texto(t->album()));
        Llena(e.titulo, Texto(t->title()));
        Llena(e.artistaAlbum, TextoApe(t, "ALBUM ARTIST"));
        if (e.pista == 0)
            e.pista = NumeroDePista(TextoApe(t, "TRACK"));
    }
    const TagLib::ByteVector portada = BytesPortada(mp3.operator->());
    e.extensionPortada = ExtensionPortada(QByteArray::fromRawData(portada.data(), int(portada.size())));
    e.portada = !e.extensionPortada.isEmpty();
    return hay;
}

PortadaFichero DamePortada(const QString& rutaCompleta)
{
    const FicheroRegular f(rutaCompleta, false);
    const Mp3TagLib mp3(f);
    return mp3 ? ComoFichero(Bytes(BytesPortada(mp3.operator->()))) : PortadaFichero{};
}

namespace {

// Room left after a tag that had to grow, so the next writes fit in place.
constexpr qint64 kRelleno = 2048;
const char* const kMarcosPropios[] = {"TPE1", "TALB", "TIT2", "TRCK", "TPE2"};

// What a tag write makes of a file: cambia edits its ID3v2 tag (creating
// one only when crear), bloqueV1 gives the new ID3v1 block from the old one
// (empty for none, and nothing changes). The new tag takes the old one's
// space when it fits; only where it does not do the file's bytes move.
EscrituraFichero PreparaEscritura(const QString& rutaCompleta, bool crear,
                                  const std::function<void(TagLib::ID3v2::Tag*)>& cambia,
                                  const std::function<QByteArray(const QByteArray&)>& bloqueV1)
{
    // A link's target is what gets the new content; the link stays a link.
    const QString canonica = QFileInfo(rutaCompleta).canonicalFilePath();
    EscrituraFichero e;
    e.destino = canonica.isEmpty() ? rutaCompleta : canonica;
    // Opened for writing, though not written here, so a file the person may
    // not change is refused before anything is recorded.
    const FicheroRegular original(e.destino, true);
    if (!original.abierto())
        throw LodrinError(FallaTag(rutaCompleta, original.error()));
    struct stat st {};
    if (::fstat(original.fd(), &st) != 0)
        throw LodrinError(FallaTag(rutaCompleta, errno));
    e.dispositivo = st.st_dev;
    e.inodo = st.st_ino;
    const qint64 largo = e.largoOriginal = e.largoFinal = original.largo();

    // The old tag is replaced only where it begins the file; one found
    // further on is left where it is, as any other bytes.
    QByteArray cabeza(10, '\0');
    cabeza.resize(qMax<qint64>(0, original.Lee(0, cabeza.data(), 10)));
    const qint64 viejo = LargoEtiquetaId3v2(cabeza);
    if (viejo > largo)
        throw LodrinError(Falla(rutaCompleta, QStringLiteral("la etiqueta ID3v2 dice ocupar más que el fichero: "
                                                             "está dañada y el fichero no se toca")));
    const Mp3TagLib mp3(original);
    if (!mp3)
        throw LodrinError(Falla(rutaCompleta, QStringLiteral("no se puede leer la etiqueta ID3v2")));

    QByteArray etiqueta;
    TagLib::ID3v2::Tag* t = mp3->ID3v2Tag(crear);
    if (t && (crear || viejo > 0)) {
        cambia(t);
        // A 2.3 tag stays 2.3, with any frame the library would not keep
        // carried over as it was; anything else becomes 2.4.
        const int version = viejo > 0 && cabeza[3] == 3 ? 3 : 4;
        std::vector<MarcoCrudo> marcos =
            MarcosCrudos(Bytes(t->render(version == 3 ? TagLib::ID3v2::v3 : TagLib::ID3v2::v4)));
        if (version == 3) {
            QByteArray antes(int(viejo), '\0');
            antes.resize(qMax<qint64>(0, original.Lee(0, antes.data(), viejo)));
            QSet<QByteArray> quedan;
            for (const MarcoCrudo& m : marcos)
                quedan.insert(m.id);
            for (const char* id : kMarcosPropios)
                quedan.insert(id);
            for (const MarcoCrudo& m : MarcosCrudos(antes))
                if (!quedan.contains(m.id))
                    marcos.push_back(m);
        }
        qint64 necesario = 10;
        for (const MarcoCrudo& m : marcos)
            necesario += m.bytes.size();
        etiqueta = EtiquetaRellena(version, marcos, necesario <= viejo ? viejo : necesario + kRelleno);
    }

    char cola[128] = {};
    const bool hayV1 = largo - viejo >= 128 && original.Lee(largo - 128, cola, 128) == 128 &&
                       std::memcmp(cola, "TAG", 3) == 0;
    const QByteArray v1 = bloqueV1(hayV1 ? QByteArray(cola, 128) : QByteArray());

    if (etiqueta.size() == viejo) {
        if (!etiqueta.isEmpty())
            e.trozos.push_back({0, etiqueta});
        if (!v1.isEmpty()) {
            e.trozos.push_back({hayV1 ? largo - 128 : largo, v1});
            e.largoFinal = hayV1 ? largo : largo + 128;
        }
        return e;
    }
    // The audio moves: the whole new file is the record.
    QByteArray todo = etiqueta;
    const qint64 resto = largo - viejo;
    todo.resize(etiqueta.size() + resto);
    if (original.Lee(viejo, todo.data() + etiqueta.size(), resto) != resto)
        throw LodrinError(FallaTag(rutaCompleta, errno ? errno : EIO));
    if (!v1.isEmpty()) {
        if (hayV1)
            todo.replace(todo.size() - 128, 128, v1);
        else
            todo += v1;
    }
    e.largoFinal = todo.size();
    e.trozos.push_back({0, todo});
    return e;
}

// The journal's reason for a file, told as the file's failure.
[[noreturn]] void FallaEscritura(const QString& rutaCompleta, const LodrinError& motivo)
{
    throw LodrinError(Falla(rutaCompleta, motivo.message()));
}

}  // namespace

EscrituraFichero EscrituraPonEtiquetas(const QString& rutaCompleta, const DatosEtiquetas& d)
{
    return PreparaEscritura(
        rutaCompleta, true,
        [&](TagLib::ID3v2::Tag* t) {
            if (Conocido(d.autor))
                PonTexto(t, "TPE1", d.autor);
            if (Conocido(d.disco))
                PonTexto(t, "TALB", d.disco);
            if (Conocido(d.cancion))
                PonTexto(t, "TIT2", d.cancion);
            bool esNumero = false;
            const int pista = d.posicion.trimmed().toInt(&esNumero);
            if (esNumero && pista > 0)
                PonTexto(t, "TRCK", QString::number(pista));
            if (d.varios)
                PonTexto(t, "TPE2", kVariosArtistas);
        },
        [&](const QByteArray&) {
            return BloqueTag(d.cancion, d.autor, d.disco, QStringLiteral("    "), kComentarioTag, QStringLiteral("0"));
        });
}

EscrituraFichero EscrituraBorraEtiquetas(const QString& rutaCompleta)
{
    {
        // A file with nothing to take off is not opened for writing, so a
        // read-only file without tags is no failure.
        const FicheroRegular lectura(rutaCompleta, false);
        if (!lectura.abierto())
            throw LodrinError(FallaTag(rutaCompleta, lectura.error()));
        QByteArray cabeza(10, '\0');
        char cola[3] = {};
        const bool v2 = lectura.Lee(0, cabeza.data(), 10) == 10 && LargoEtiquetaId3v2(cabeza) > 0;
        const bool v1 = lectura.largo() >= 128 && lectura.Lee(lectura.largo() - 128, cola, 3) == 3 &&
                        std::memcmp(cola, "TAG", 3) == 0;
        if (!v2 && !v1)
            return {};
    }
    return PreparaEscritura(
        rutaCompleta, false,
        [](TagLib::ID3v2::Tag* t) {
            for (const char* id : kMarcosPropios)
                t->removeFrames(id);
        },
        [](const QByteArray& viejo) {
            // The first 127 bytes become zero; the genre byte stays.
            if (viejo.isEmpty())
                return QByteArray();
            return QByteArray(127, '\0') + viejo.right(1);
        });
}

QString FallaEtiquetas(const QString& rutaCompleta, const QString& motivo) { return Falla(rutaCompleta, motivo); }

void PonEtiquetas(const QString& rutaCompleta, const DatosEtiquetas& d)
{
    const EscrituraFichero e = EscrituraPonEtiquetas(rutaCompleta, d);
    try {
        Diario().Escribe(e);
    } catch (const LodrinError& motivo) {
        FallaEscritura(rutaCompleta, motivo);
    }
}

void BorraEtiquetas(const QString& rutaCompleta)
{
    const EscrituraFichero e = EscrituraBorraEtiquetas(rutaCompleta);
    if (e.trozos.empty())
        return;
    try {
        Diario().Escribe(e);
    } catch (const LodrinError& motivo) {
        FallaEscritura(rutaCompleta, motivo);
    }
}
