#pragma once
#include <QString>
#include <QStringList>

// Asks the person which autorun.dat to show (a file dialog in the program).
class PreguntaAutorun {
public:
    virtual ~PreguntaAutorun() = default;
    // The chosen file, or an empty text when the person gives up.
    virtual QString EligeAutorun() = 0;
};

// Which folder's autorun.dat the viewer shows. A folder (or an autorun.dat)
// named on the command line; else the program's own folder when it holds one,
// as on a CD; else the one the person chooses, when someone can be asked
// (pregunta may be null). An empty carpeta with an empty error means the person
// gave up; an error is the Spanish message to print.
struct CarpetaVisor {
    QString carpeta;
    QString error;
};
CarpetaVisor EligeCarpetaVisor(const QStringList& argumentos, const QString& carpetaPrograma,
                               PreguntaAutorun* pregunta);
