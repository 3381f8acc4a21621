#include <QLineEdit>
#include <QTreeWidget>

#include "decoding/mascaras.h"
#include "main_window/frmVaro.h"

// "Añadir": stores the typed mask, if any, and lists the masks again.
void frmVaro::cmdAnadir_Click()
{
    if (!txtAnadir->text().isEmpty())
        AnadeMascara(bd, txtAnadir->text());
    lstMascaras->clear();
    for (const QString& m : ListaMascarasGuardadas(bd))
        lstMascaras->addTopLevelItem(new QTreeWidgetItem(QStringList{m}));
}
