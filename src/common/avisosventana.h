#pragma once
#include "common/avisos.h"

class QWidget;

// Messages shown in message boxes over a window.
class AvisosVentana : public Avisos {
public:
    explicit AvisosVentana(QWidget* padre = nullptr) : padre_(padre) {}
    void PonPadre(QWidget* padre) { padre_ = padre; }
    void Informa(const QString& texto, const QString& titulo) override;
    void Falla(const QString& texto, const QString& titulo) override;

private:
    QWidget* padre_;
};
