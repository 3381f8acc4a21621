#include "main_window/unidadessistema.h"

#include <QDir>
#include <QStorageInfo>

#include "common/rutas.h"

QList<Volumen> UnidadesSistema::Lista()
{
    QList<Volumen> lista;
    for (const QStorageInfo& s : QStorageInfo::mountedVolumes()) {
        Volumen v;
        v.raiz = rutas::ConSeparador(s.rootPath());
        v.sistemaFicheros = QString::fromLatin1(s.fileSystemType());
        v.lista = s.isValid() && s.isReady();
        v.nombre = s.name();
        lista << v;
    }
    return lista;
}

int UnidadesSistema::Actual()
{
    const QString raiz = rutas::ConSeparador(QStorageInfo(QDir::currentPath()).rootPath());
    const QList<Volumen> l = Lista();
    for (int i = 0; i < l.size(); ++i)
        if (l[i].raiz == raiz)
            return i;
    return l.isEmpty() ? -1 : 0;
}
