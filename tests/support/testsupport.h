#pragma once
#include <QString>
#include <QStringList>
#include <functional>

#include "common/avisos.h"

// Records the messages the program would show, so a test can read them.
class AvisosAnotados : public Avisos {
public:
    void Informa(const QString& texto, const QString& titulo) override
    {
        textos << texto;
        titulos << titulo;
    }
    // A failure is recorded as any message, and counted apart.
    void Falla(const QString& texto, const QString& titulo) override
    {
        Informa(texto, titulo);
        fallos << texto;
    }
    QStringList textos;
    QStringList titulos;
    QStringList fallos;
};

// Writes bytes to a file, creating its folders; returns the full path.
QString EscribeFichero(const QString& ruta, const QByteArray& contenido);
// Reads a whole file.
QByteArray LeeFichero(const QString& ruta);

// While it lives, the process lacks the superuser's right to ignore file
// permissions, so a read-only file or folder refuses as it would anyone.
class SinPrivilegios {
public:
    SinPrivilegios();
    ~SinPrivilegios();

private:
    unsigned efectivos_ = 0;
};

// Runs this test program again with args and, once it printed its first
// line, kills it (SIGKILL) as soon as ya(milliseconds since then) says so,
// or lets it end. Returns whether it was killed before it finished.
bool MataHijo(const QStringList& args, const std::function<bool(qint64)>& ya);
// A readable file named .mp3 that holds no audio (recorded with no playing
// time), for rows whose file content does not matter; it lasts the run.
QString FicheroSinAudio();
