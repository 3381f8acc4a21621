#pragma once
// Small helpers every tab uses to make its controls: a control carries its
// name as object name, its caption and its tooltip.
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <type_traits>

class QProgressBar;

// An image combo box that reports when its list is about to drop down.
class ComboImagen : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    void showPopup() override;
signals:
    void DropDown();
};

template <typename T>
T* Control(QWidget* padre, const char* nombre, const QString& texto = QString(), const QString& ayuda = QString())
{
    auto* w = new T(padre);
    w->setObjectName(QString::fromUtf8(nombre));
    if constexpr (std::is_base_of_v<QLabel, T>)
        w->setTextFormat(Qt::PlainText);  // names and paths never render as markup
    if constexpr (std::is_base_of_v<QLabel, T> || std::is_base_of_v<QAbstractButton, T> ||
                  std::is_base_of_v<QLineEdit, T>)
        w->setText(texto);
    if (!ayuda.isEmpty())
        w->setToolTip(ayuda);
    return w;
}

// A tree without header whose labels are never edited.
QTreeWidget* Arbol(QWidget* padre, const char* nombre, const QString& ayuda);
// A report list: rows without branches, never edited.
QTreeWidget* Informe(QWidget* padre, const char* nombre, const QString& ayuda);
// A help label: plain text, top left, wrapped, in a small font.
QLabel* Ayuda(QWidget* padre, const char* nombre);
