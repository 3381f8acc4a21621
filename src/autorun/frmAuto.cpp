#include "autorun/frmAuto.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImageReader>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QThread>
#include <climits>
#include <cmath>
#include <memory>

#include "autorun/ficheroautorun.h"
#include "common/avisos.h"
#include "common/ficheroregular.h"
#include "common/twips.h"

namespace {

int px(int twips) { return Twips(twips); }

QRect aPixeles(int izquierda, int arriba, int ancho, int alto) { return QRect(px(izquierda), px(arriba), px(ancho), px(alto)); }

QString paraCaja(QString texto) { return texto.replace(QLatin1String("\r\n"), QLatin1String("\n")); }

// Rounds to the nearest whole number, halves to even.
int redondea(double x) { return int(std::nearbyint(x)); }

// Lines longer than the whole box could show are cut with an ellipsis: laying
// out a line of 100,000 characters would freeze the window for nothing.
QString recorta(const QString& texto, const QWidget& caja)
{
    const QFontMetrics fm(caja.font());
    const qsizetype cabe = qsizetype(qMax(1, caja.width())) * qMax(1, caja.height() / qMax(1, fm.lineSpacing()));
    QStringList lineas = texto.split(QLatin1String("\r\n"));
    for (QString& l : lineas) {
        if (l.size() * fm.maxWidth() <= cabe)
            continue;
        // No character is narrower than a pixel, so the cut loses nothing shown.
        l.truncate(cabe);
        l = fm.elidedText(l, Qt::ElideRight, int(qMin<qsizetype>(cabe, 1 << 24)));
    }
    return lineas.join(QLatin1String("\r\n"));
}

// A picture no larger than the box that stretches it: the cache keeps what is
// shown, not the full size of a scanned cover.
QPixmap cargaAjustada(const QString& ruta, QSize caja)
{
    // The file names the path: it may be a FIFO on a Rock Ridge disc.
    QFile f;
    if (!AbreFicheroRegular(ruta, f))
        return {};
    QImageReader lector(&f);
    const QSize original = lector.size();
    if (original.isValid() && !caja.isEmpty() && (original.width() > caja.width() || original.height() > caja.height()))
        lector.setScaledSize(original.boundedTo(caja));
    return QPixmap::fromImage(lector.read());
}

}  // namespace

ModeloCanciones::ModeloCanciones(const LectorAutorun& datos, int disco, QObject* parent)
    : QAbstractListModel(parent), datos_(datos), disco_(disco)
{
    cabecera_ = datos.cabecera[disco].split(QLatin1String("\r\n"));
    // The title block ends with its line break: no row after it.
    if (cabecera_.size() > 1 && cabecera_.last().isEmpty())
        cabecera_.removeLast();
}

int ModeloCanciones::rowCount(const QModelIndex& padre) const
{
    if (padre.isValid())
        return 0;
    return int(qMin<qint64>(INT_MAX, cabecera_.size() + qint64(datos_.canciones[disco_].size())));
}

QVariant ModeloCanciones::data(const QModelIndex& i, int rol) const
{
    if (rol == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignHCenter));
    // A row is one line high: a label the box cuts short shows whole on hover.
    if ((rol != Qt::DisplayRole && rol != Qt::ToolTipRole) || !i.isValid())
        return {};
    QString linea = i.row() < cabecera_.size() ? cabecera_[i.row()] : datos_.Cancion(disco_, i.row() - cabecera_.size());
    if (linea.size() > kMaxCaracteres) {
        linea.truncate(kMaxCaracteres);
        linea += u'…';
    }
    return linea;
}

ListaDisco::ListaDisco(QWidget* parent) : QListView(parent)
{
    setEditTriggers(NoEditTriggers);
    setSelectionMode(NoSelection);
    setFocusPolicy(Qt::NoFocus);
    // Every row one line high: the view need not measure a million rows.
    setUniformItemSizes(true);
    setLayoutMode(Batched);
    setBatchSize(5000);
    setTextElideMode(Qt::ElideRight);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void ListaDisco::PonDisco(const LectorAutorun& datos, int disco)
{
    QAbstractItemModel* antes = model();
    setModel(new ModeloCanciones(datos, disco, this));
    delete antes;
}

QString ListaDisco::toPlainText() const
{
    QString t;
    if (!model())
        return t;
    for (int r = 0; r < model()->rowCount(); ++r)
        t += model()->index(r, 0).data().toString() + u'\n';
    return t;
}

void ListaDisco::mouseDoubleClickEvent(QMouseEvent* e)
{
    QListView::mouseDoubleClickEvent(e);
    emit DobleClick();
}

void TextoDisco::PonTexto(const QString& texto)
{
    setPlainText(paraCaja(recorta(texto, *this)));
    QTextCursor c(document());
    c.select(QTextCursor::Document);
    QTextBlockFormat centrado;
    centrado.setAlignment(Qt::AlignHCenter);
    c.mergeBlockFormat(centrado);
}

void TextoDisco::mouseDoubleClickEvent(QMouseEvent* e)
{
    QTextEdit::mouseDoubleClickEvent(e);
    emit DobleClick();
}

int vista::LadoRejilla(int discos)
{
    if (discos <= 4)
        return 2;
    if (discos <= 9)
        return 3;
    if (discos <= LectorAutorun::kMaxDiscos)
        return 4;
    return 0;
}

frmAuto::frmAuto(const QString& carpeta, int revision, Avisos& avisos, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), carpeta_(carpeta), avisos_(avisos)
{
    setObjectName(QStringLiteral("frmAuto"));
    setWindowTitle(QString());
    setFixedSize(px(vista::kAncho), px(vista::kAlto));
    creaControles();
    carga(revision);
}

void frmAuto::creaControles()
{
    for (int d = 0; d < kElementos; ++d) {
        const QString n = QString::number(d);
        txtdisco[d] = new ListaDisco(this);
        txtdisco[d]->setObjectName(QStringLiteral("txtdisco") + n);
        txtdisco2[d] = new TextoDisco(this);
        txtdisco2[d]->setObjectName(QStringLiteral("txtdisco2_") + n);
        imgdisco[d] = new CajaDisco(this);
        imgdisco[d]->setObjectName(QStringLiteral("imgdisco") + n);
        // Without its picture the cover box shows the title block as the title box would.
        imgdisco[d]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        imgdisco[d]->setBackgroundRole(QPalette::Base);
        imgdisco[d]->setAutoFillBackground(true);
        imgdisco[d]->setWordWrap(true);
        txtdisco2[d]->setReadOnly(true);
        txtdisco2[d]->setLineWrapMode(QTextEdit::WidgetWidth);
        connect(imgdisco[d], &CajaDisco::Click, this, [this, d] { imgdisco_Click(d); });
        connect(imgdisco[d], &CajaDisco::DobleClick, this, [this, d] { imgdisco_DblClick(d); });
        connect(txtdisco[d], &ListaDisco::DobleClick, this, [this, d] { txtdisco_DblClick(d); });
        connect(txtdisco2[d], &TextoDisco::DobleClick, this, [this, d] { txtdisco2_DblClick(d); });
    }
    lblInfo = new QLabel(this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setGeometry(aPixeles(3120, 7560, 4095, 495));
    cmdImagenes = new QPushButton(QStringLiteral("Ver imagenes"), this);
    cmdImagenes->setObjectName(QStringLiteral("cmdImagenes"));
    cmdImagenes->setToolTip(QStringLiteral("Nos muestra todas las imagenes"));
    cmdImagenes->setGeometry(aPixeles(240, 7680, 1335, 375));
    cmdCanciones = new QPushButton(QStringLiteral("Ver canciones"), this);
    cmdCanciones->setObjectName(QStringLiteral("cmdCanciones"));
    cmdCanciones->setToolTip(QStringLiteral("Nos muestra todas las canciones"));
    cmdCanciones->setGeometry(aPixeles(1680, 7680, 1335, 375));
    cmdSalir = new QPushButton(QStringLiteral("Salir"), this);
    cmdSalir->setObjectName(QStringLiteral("cmdSalir"));
    cmdSalir->setGeometry(aPixeles(7320, 7680, 1335, 375));
    connect(cmdImagenes, &QPushButton::clicked, this, &frmAuto::cmdImagenes_Click);
    connect(cmdCanciones, &QPushButton::clicked, this, &frmAuto::cmdCanciones_Click);
    connect(cmdSalir, &QPushButton::clicked, this, &frmAuto::cmdSalir_Click);
}

void frmAuto::ocultaTodo()
{
    for (int d = 0; d < kElementos; ++d) {
        imgdisco[d]->hide();
        txtdisco[d]->hide();
        txtdisco2[d]->hide();
    }
}

void frmAuto::carga(int revision)
{
    lblInfo->setText(QStringLiteral("Autorun generado con BRENVO 1.") + QString::number(revision) +
                     QStringLiteral(" de Tarn'00 \r\nlodrin@example.org - vistel@example.org"));
    // The text must fit its small label whatever the desktop's font.
    QFont letra = lblInfo->font();
    const auto anchoTexto = [&] {
        int ancho = 0;
        for (const QString& l : lblInfo->text().split(QLatin1String("\r\n")))
            ancho = qMax(ancho, QFontMetrics(letra).horizontalAdvance(l));
        return ancho;
    };
    while (anchoTexto() > lblInfo->width() && letra.pointSizeF() > 5)
        letra.setPointSizeF(letra.pointSizeF() - 0.5);
    lblInfo->setFont(letra);
    // Until the file is read there is nothing to show, and if it cannot be
    // used the window keeps only its information text and buttons.
    ocultaTodo();
    const QString ruta = autorun::RutaFichero(carpeta_);
    if (!EsFicheroRegular(ruta))
        return;
    if (QFileInfo(ruta).size() <= kLecturaInmediata) {
        datos.LeeBytes(LeeFicheroAutorun(ruta));
        muestraDiscos();
        return;
    }
    // A large file (or a slow drive) would keep the window from opening and
    // from answering "Salir": it is read in the background.
    cargador_ = QThread::create([this, ruta] {
        auto leido = std::make_shared<LectorAutorun>();
        leido->LeeBytes(LeeFicheroAutorun(ruta, &cancela_), &cancela_);
        if (cancela_.load())
            return;
        QMetaObject::invokeMethod(
            this,
            [this, leido] {
                datos = std::move(*leido);
                muestraDiscos();
            },
            Qt::QueuedConnection);
    });
    cargador_->start();
}

frmAuto::~frmAuto()
{
    if (cargador_) {
        cancela_ = true;
        cargador_->wait();
        delete cargador_;
    }
}

bool frmAuto::Cargando() const { return cargador_ && !cargador_->isFinished(); }

void frmAuto::muestraDiscos()
{
    lado = vista::LadoRejilla(datos.numDiscos);
    if (lado == 0) {
        // One message, not one for every line of every disc beyond the 16th.
        avisos_.Informa(TextoDemasiadosDiscos(datos.numDiscos));
        return;
    }
    // The window's own area gives the cells, so the grid ends above the
    // information text and buttons.
    const int alto = redondea((vista::kAlto - 800) / double(lado));
    const int ancho = redondea((vista::kAncho - 700) / double(lado));
    for (int d = 1; d <= datos.numDiscos; ++d) {
        const int fila = (d - 1) % lado;
        const int columna = (d - 1) / lado;
        const QRect r = aPixeles(columna * ancho + 300, fila * alto, ancho, alto);
        if (datos.imagenActual[d] > 0) {
            imgdisco[d]->setGeometry(r);
            imgdisco[d]->setScaledContents(true);
        } else {
            txtdisco2[d]->setGeometry(r);
            txtdisco2[d]->PonTexto(datos.texto2[d]);
        }
        txtdisco[d]->setGeometry(r);
        txtdisco[d]->PonDisco(datos, d);
        txtdisco[d]->show();
    }
    discosMostrados = datos.numDiscos;
}

QString frmAuto::RutaImagen(const QString& linea) const
{
    if (!linea.startsWith(u'\\'))
        return linea;
    QString relativa = linea.mid(1);
    relativa.replace(u'\\', u'/');
    return QDir::toNativeSeparators(QDir(carpeta_).filePath(relativa));
}

void frmAuto::ponImagen(int d, int k)
{
    QPixmap& imagen = imagenDisco_[d][k];
    if (!imagenCargada_[d][k]) {
        imagen = cargaAjustada(RutaImagen(datos.rutaImagen[d][k]), imgdisco[d]->size() * imgdisco[d]->devicePixelRatioF());
        imagenCargada_[d][k] = true;
    }
    // A picture that cannot be loaded leaves the disc showing its title block.
    if (imagen.isNull()) {
        imgdisco[d]->setMargin(4);
        imgdisco[d]->setText(paraCaja(recorta(datos.texto2[d], *imgdisco[d])));
    } else {
        imgdisco[d]->setMargin(0);
        imgdisco[d]->setPixmap(imagen);
    }
}

void frmAuto::MuestraCaratula(int d)
{
    if (datos.imagenActual[d] > 0) {
        ponImagen(d, datos.imagenActual[d]);
        imgdisco[d]->show();
    } else {
        txtdisco2[d]->show();
    }
    txtdisco[d]->hide();
}

void frmAuto::MuestraCanciones(int d)
{
    imgdisco[d]->hide();
    txtdisco2[d]->hide();
    txtdisco[d]->show();
}

void frmAuto::cmdImagenes_Click()
{
    for (int d = 1; d <= discosMostrados; ++d)
        MuestraCaratula(d);
}

void frmAuto::cmdCanciones_Click()
{
    for (int d = 1; d <= discosMostrados; ++d)
        MuestraCanciones(d);
}

void frmAuto::cmdSalir_Click() { close(); }

void frmAuto::imgdisco_Click(int d)
{
    if (d < 1 || d > discosMostrados || datos.imagenesDisco[d] <= 1)
        return;
    int siguiente = datos.imagenActual[d] + 1;
    if (siguiente > datos.imagenesDisco[d])
        siguiente = 1;
    ponImagen(d, siguiente);
    datos.imagenActual[d] = siguiente;
}

void frmAuto::imgdisco_DblClick(int d)
{
    if (d >= 1 && d <= discosMostrados)
        MuestraCanciones(d);
}

void frmAuto::txtdisco_DblClick(int d)
{
    if (d >= 1 && d <= discosMostrados)
        MuestraCaratula(d);
}

void frmAuto::txtdisco2_DblClick(int d)
{
    if (d >= 1 && d <= discosMostrados)
        MuestraCanciones(d);
}
