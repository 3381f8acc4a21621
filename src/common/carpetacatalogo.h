#pragma once
#include <QString>

// The one folder that holds the catalogue anterior.mdb, the pictures folder
// imagenes, autorun.dat and lodrin.ini. It is the program's folder when that
// folder can be written or already holds the catalogue (the portable layout, a
// CD prepared beforehand); otherwise the user's data folder. Never both: a
// catalogue beside the program is always the one used.
QString CarpetaCatalogo(const QString& carpetaPrograma, const QString& carpetaDatos);

// The line that tells the user which folder is in use.
QString TextoCarpetaCatalogo(const QString& carpeta);
