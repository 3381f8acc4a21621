#include "main_window/textosayuda.h"

#include <QStringList>

namespace {
const QString kSalto = QStringLiteral("\r\n");
}

QString TextoInfoCD()
{
    return QStringList{
               QStringLiteral("Hemos de elegir la unidad de CDROM en la que esta el CD de MP3 que vamos a catalogar. "),
               QStringLiteral("Esto nos borrara la lista de ficheros que tenemos actualmente y nos explorara el CDROM."),
               // One line the label wraps as it fits: "DATOS" never stands alone.
               QStringLiteral("Lo analizara para extraer la informacion de autor/disco/cancion/posicion y una vez que "
                              "haya acabado nos dejara pulsar al boton <Grabar> para añadir estos datos a la Base de "
                              "DATOS "),
               QStringLiteral("Serial      : Numero de serie del CD "),
               QStringLiteral("Name        : Nombre del volumen del CD"),
               QStringLiteral("Descripcion : Informacion para identificar el CD y es obligatoria "),
               QStringLiteral("por defecto es el Nombre del volumen del CD "),
           }
               .join(kSalto) +
           kSalto;
}

QString TextoInfoMasc()
{
    return QStringList{
        QStringLiteral("MASCARAS"),
        QStringLiteral("Según estas mascaras trataremos los nombres de los ficheros para extraer"),
        QStringLiteral("los datos de (a)utor, (d)isco, (c)ancion y (p)osicion. La (x) marca lo no significativo"),
        QStringLiteral("Ejemplos:"),
        QStringLiteral("Dover(Devil come to me)\\Judas.mp3  --> mascara aplicable  a(d)\\c "),
        QStringLiteral("Dover\\Devil come to me\\Judas.mp3   --> mascara aplicable  a\\d\\c "),
        QStringLiteral("Dover\\Devil come to me-Judas.mp3   --> mascara aplicable  a\\d-c "),
    }
        .join(kSalto);
}

QString TextoListado()
{
    return QStringList{
        QStringLiteral("Generamos un fichero en formato html con lo que contiene la Base de Datos. "),
        QStringLiteral("-Poner canciones. Switch que nos marca si queremos que salgan las canciones."),
        QStringLiteral("-Poner imagenes. Switch que nos marca si queremos que salgan las imagenes. "),
        QStringLiteral("-Cd. Podemos elegir un de los CD's que tenemos para listarlo. "),
        QStringLiteral("-Autor. Poner el Autor del que queremos el listado. "),
        QStringLiteral("-Disco. Poner el Disco a sacar el listado. Si no hay autor escogido saldran todos, sino solo ese."),
        QStringLiteral("-Salida. Nombre del fichero de salida con extension, solo graba en formato HTML"),
    }
        .join(kSalto);
}

QString TextoAcercaDe()
{
    return QStringLiteral("Lodrin %1\n\nCatalogador de CDs de MP3: explora el CD, saca autor, disco, canción y "
                          "posición de los nombres de los ficheros, y lo guarda en la base de datos con las "
                          "carátulas. También prepara CDs con tags y Autorun para Vistel.")
        .arg(QStringLiteral(LODRIN_VERSION));
}
