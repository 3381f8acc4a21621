#pragma once
#include <QString>

// The engines a catalogue can live in. What one of them does its own way is
// behind MotorCatalogo, chosen from here once when the catalogue is made.
enum class Motor { SQLite, PostgreSQL };

// Where the catalogue is: the SQLite file beside the program, or a database
// on a server named by lodrin.ini or in the window. A password is kept only
// in memory, when the person typed one; otherwise the server's client
// library finds it (PGPASSWORD, ~/.pgpass).
struct UbicacionCatalogo {
    Motor motor = Motor::SQLite;
    QString fichero;   // the SQLite file
    QString host;      // a server: host name or socket folder
    int puerto = 5432;
    QString base;
    QString usuario;
    QString clave;     // typed in the window; never written anywhere
    QString error;     // why lodrin.ini could not be used; opening reports it

    bool EnServidor() const { return motor != Motor::SQLite; }
    // The catalogue as messages name it: the file, or "base@host:puerto",
    // which tells two catalogues apart.
    QString Nombre() const;
    // The server as messages name it: "host:puerto".
    QString Servidor() const;

    static UbicacionCatalogo Fichero(const QString& ruta);
    // Reads an INI file naming a server ([catalogo] servidor=postgresql, host,
    // port, database, user). A file that names no server, or one this program
    // cannot reach, comes back with error set.
    static UbicacionCatalogo DeIni(const QString& ini);
    // The catalogue of a program folder: the server its lodrin.ini names, or
    // its anterior.mdb when there is no lodrin.ini or it names no server.
    static UbicacionCatalogo DeCarpeta(const QString& carpeta);
    // A catalogue named on the command line: a folder (as DeCarpeta), an INI
    // file naming a server (as lodrin.ini does), or a catalogue file.
    static UbicacionCatalogo DeRuta(const QString& ruta);
};

// The main window's title: which catalogue is open when it is a server.
QString TituloVentana(const UbicacionCatalogo& u);
