#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <sys/types.h>
#include <vector>

// Writes that must be whole (tags into an MP3, a catalogue being copied) are
// recorded first in a journal folder of the program's own: the target, a
// token no other write will ever carry, and what the target becomes. Only
// when the record is on the disk is the target touched; when the write is
// done the record goes. After a kill, Recupera() finishes every complete
// record by what it says and drops every incomplete one, whose target was
// never touched. Nothing is renamed over a file on the strength of its name.

// Bytes to put at a position of a file.
struct TrozoEscritura {
    qint64 pos = 0;
    QByteArray bytes;
};

// What one existing file becomes: new bytes at their positions and its new
// length. The file is written in place, through its own inode, so its links,
// owner, mode and extended attributes stay.
struct EscrituraFichero {
    QString destino;  // the file itself, links resolved
    dev_t dispositivo = 0;
    ino_t inodo = 0;
    qint64 largoOriginal = 0;
    qint64 largoFinal = 0;
    std::vector<TrozoEscritura> trozos;
    // The bytes the record takes in the journal.
    qint64 Peso() const;
};

// The journal folder in the user's data folder.
QString CarpetaDiario();

class Diario {
public:
    explicit Diario(QString carpeta = CarpetaDiario());

    const QString& carpeta() const { return carpeta_; }

    // Files written in phases, so a batch flushes the disk a few times in
    // all rather than a few times per file: Anota every file, Asegura, then
    // Aplica each, then Termina.

    // Records what the file becomes; the record counts only after Asegura.
    // Throws LodrinError, before anything is touched, when the journal's
    // folder lacks the room (saying how much and where) or cannot be written.
    void Anota(const EscrituraFichero& e);
    // Every record noted reaches the disk and becomes valid.
    void Asegura();
    // Writes the i-th noted file as recorded. Throws LodrinError naming it;
    // when nothing of it was touched, its record is dropped at once.
    void Aplica(std::size_t i);
    // Every file applied reaches the disk; then its record goes, as does
    // every record whose file was never reached.
    void Termina();

    // One file written whole: the four phases for it alone.
    void Escribe(const EscrituraFichero& e);

    // A catalogue built under a temporary name: while the record stands, a
    // kill leaves it to Recupera, which removes the temporary file and its
    // side files, and the picture copies waiting with the token, unless the
    // temporary already took the final name: then the waiting copies take
    // theirs. Returns the token the waiting copies are to carry.
    QString AnotaCopia(const QString& temporal, const QString& final, const QString& carpetaImagenes);
    // The copy is done (or cleaned up by its caller): its record goes.
    void Olvida(const QString& token);

    // Finishes or undoes every record a killed program left. Returns how many
    // there were.
    int Recupera();

    // The waiting name of a picture copy made under a token.
    static QString NombreEnEspera(const QString& nombre, const QString& token);
    // Gives every copy waiting with the token in the folder its own name, or
    // removes them all.
    static void ColocaEnEspera(const QString& carpeta, const QString& token);
    static void QuitaEnEspera(const QString& carpeta, const QString& token);
    // A token no other write carries: the process id (so a live writer's
    // leftovers can be told) and a random part.
    static QString NuevoToken();
    // Whether the process a token was made by still runs.
    static bool TokenVivo(const QString& token);

private:
    struct Pendiente {
        EscrituraFichero escritura;
        QString token;
        bool intentada = false;  // Aplica reached it: its file may have changed
        bool aplicada = false;
    };

    QString Registro(const QString& token, const char* extension) const;
    void Escribe(const QString& token, const QByteArray& contenido);

    QString carpeta_;
    std::vector<Pendiente> pendientes_;
    qint64 reservado_ = 0;
};
