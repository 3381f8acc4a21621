#include "mp3info/etiquetas.h"

#include <QBuffer>
#include <array>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <cerrno>
#include <csignal>
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

#include "common/lodrinerror.h"
#include "common/textos.h"
#include "common/ficheroregular.h"
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

// The copy that becomes the file: removed unless it was put in its place.
class Temporal {
public:
    explicit Temporal(const QString& destino)
    {
        const QFileInfo fi(destino);
        plantilla_ = QFile::encodeName(fi.absolutePath() + QStringLiteral("/.") + fi.fileName() +
                                       QStringLiteral(".lodrin-XXXXXX"));
        fd_ = ::mkostemp(plantilla_.data(), O_CLOEXEC);
        error_ = fd_ < 0 ? errno : 0;
        existe_ = fd_ >= 0;
    }
    ~Temporal()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (existe_ && !hecho_)
            ::unlink(plantilla_.constData());
    }
    int fd() const { return fd_; }
    int error() const { return error_; }
    QString ruta() const { return QFile::decodeName(plantilla_); }
    // Flushes the copy and renames it over destino: 0 or the errno value.
    int Sustituye(const QString& destino)
    {
        if (::fsync(fd_) != 0)
            return errno;
        const int r = ::close(fd_);
        fd_ = -1;
        if (r != 0)
            return errno;
        if (::rename(plantilla_.constData(), QFile::encodeName(destino).constData()) != 0)
            return errno;
        hecho_ = true;
        // The rename itself reaches the disk with the folder.
        const int dir = ::open(QFile::encodeName(QFileInfo(destino).absolutePath()).constData(),
                               O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
        return 0;
    }

private:
    QByteArray plantilla_;
    int fd_ = -1;
    int error_ = 0;
    bool existe_ = false;
    bool hecho_ = false;
};

// The size limit's signal would end the program: held back while the copy is
// written, and taken back when a write raised it (the write fails instead).
class SinSenalLimite {
public:
    SinSenalLimite()
    {
        sigemptyset(&limite_);
        sigaddset(&limite_, SIGXFSZ);
        pthread_sigmask(SIG_BLOCK, &limite_, &antes_);
    }
    ~SinSenalLimite()
    {
        const timespec nada{0, 0};
        while (sigtimedwait(&limite_, nullptr, &nada) == SIGXFSZ) {
        }
        pthread_sigmask(SIG_SETMASK, &antes_, nullptr);
    }

private:
    sigset_t limite_, antes_;
};

// Writes all n bytes; 0 or the errno value.
int EscribeTodo(int fd, const char* p, qint64 n)
{
    while (n > 0) {
        const ssize_t w = ::write(fd, p, size_t(n));
        if (w < 0 && errno == EINTR)
            continue;
        if (w < 0)
            return errno;
        p += w;
        n -= w;
    }
    return 0;
}

// The original from desde to its end appended to the copy, in the kernel
// where it can; 0 or the errno value.
int CopiaResto(const FicheroRegular& origen, qint64 desde, int destino)
{
    loff_t pos = desde;
    qint64 quedan = origen.largo() - desde;
    while (quedan > 0) {
        const ssize_t n = ::copy_file_range(origen.fd(), &pos, destino, nullptr, size_t(quedan), 0);
        if (n > 0) {
            quedan -= n;
            continue;
        }
        if (n == 0)
            return EIO;  // the file grew shorter under us
        if (errno == EINTR)
            continue;
        if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP)
            return errno;
        // No copy in the kernel here: by hand.
        std::vector<char> b(1 << 20);
        while (quedan > 0) {
            const qint64 r = origen.Lee(pos, b.data(), qMin<qint64>(quedan, qint64(b.size())));
            if (r <= 0)
                return r < 0 ? errno : EIO;
            if (const int e = EscribeTodo(destino, b.data(), r))
                return e;
            pos += r;
            quedan -= r;
        }
    }
    return 0;
}

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

void PonEtiquetas(const QString& rutaCompleta, const DatosEtiquetas& d)
{
    // A link's target is what gets the new content; the link stays a link.
    const QString canonica = QFileInfo(rutaCompleta).canonicalFilePath();
    const QString destino = canonica.isEmpty() ? rutaCompleta : canonica;
    // Opened for writing, though never written, so a file the person may not
    // change is refused as before rather than replaced by a writable copy.
    const FicheroRegular original(destino, true);
    if (!original.abierto())
        throw LodrinError(FallaTag(rutaCompleta, original.error()));

    const Mp3TagLib mp3(original);
    if (!mp3)
        throw LodrinError(Falla(rutaCompleta, QStringLiteral("no se puede leer la etiqueta ID3v2")));
    // The old tag is replaced only where it begins the file; one found
    // further on is left where it is, as any other bytes.
    char cabeza[3] = {};
    const bool alPrincipio = original.Lee(0, cabeza, 3) == 3 && std::memcmp(cabeza, "ID3", 3) == 0;
    const qint64 finViejo =
        mp3->hasID3v2Tag() && alPrincipio ? qMin<qint64>(mp3->ID3v2Tag()->header()->completeTagSize(), original.largo())
                                          : 0;
    TagLib::ID3v2::Tag* t = mp3->ID3v2Tag(true);
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
    const TagLib::ByteVector nuevo = t->render(TagLib::ID3v2::v4);

    Temporal copia(destino);
    if (copia.fd() < 0)
        throw LodrinError(FallaTag(rutaCompleta, copia.error()));
    struct stat st {};
    if (::fstat(original.fd(), &st) == 0) {
        ::fchmod(copia.fd(), st.st_mode & 07777);
        if (::fchown(copia.fd(), st.st_uid, st.st_gid) != 0) {
            // Another owner's file in a folder we may write: ours it becomes.
        }
    }
    int e = 0;
    {
        const SinSenalLimite guarda;
        e = EscribeTodo(copia.fd(), nuevo.data(), qint64(nuevo.size()));
        if (!e)
            e = CopiaResto(original, finViejo, copia.fd());
    }
    if (e)
        throw LodrinError(FallaTag(rutaCompleta, e));
    try {
        PonTag(copia.ruta(), d.cancion, d.autor, d.disco, QStringLiteral("    "), kComentarioTag, QStringLiteral("0"));
    } catch (const LodrinError& falla) {
        // The copy's name means nothing to the person: the file is named.
        throw LodrinError(QString(falla.message()).replace(copia.ruta(), rutaCompleta));
    }
    if ((e = copia.Sustituye(destino)) != 0)
        throw LodrinError(FallaTag(rutaCompleta, e));
}
