#pragma once
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <cstdio>

// One option of a program's command line: "--nombre" or "--nombre VALOR".
struct OpcionOrdenes {
    QString nombre;   // without the leading "--"
    QString valor;    // name of its value in the help ("TEXTO"); empty for a plain switch
    QString ayuda;    // one short Spanish line
};

// What a program is about: the texts of its help and the options it takes
// besides --help and --version, which every program has.
struct DescripcionPrograma {
    QString nombre;       // "Lodrin"
    QString version;
    QString argumentos;   // as shown after the name in the usage line, e.g. "[CARPETA]"
    QString resumen;      // a line or two on what it does
    QList<OpcionOrdenes> opciones;
    int maxArgumentos = 0;  // words that are not options it takes at most
};

// What the command line asks for.
struct Orden {
    enum class Accion { Seguir, Ayuda, Version, Error };
    Accion accion = Accion::Seguir;
    QMap<QString, QString> valores;   // options given, by name; a switch has an empty value
    QStringList argumentos;           // the words that are not options
    QString error;                    // the Spanish message, for Accion::Error
};

// Reads the arguments after the program's name, all of it before any window:
// an unknown option or a word too many is an Error. The window toolkit's own
// single-dash options (-platform xcb, -style=fusion ...) are passed over with
// their values; the toolkit takes them out when the window application starts.
Orden LeeOrdenes(const QStringList& argumentos, const DescripcionPrograma& programa);

// The help text, ending with extra lines the program adds (e.g. the folder in use).
QString TextoAyuda(const DescripcionPrograma& programa, const QString& pie = QString());

// Prints what an Ayuda, Version or Error order asks for and returns the exit
// status (0, or 2 for an error); returns -1 for Seguir, printing nothing.
int Atiende(const Orden& orden, const DescripcionPrograma& programa, const QString& pieAyuda = QString());

// Writes text on a standard stream (stdout, stderr) at once.
void Escribe(std::FILE* salida, const QString& texto);
