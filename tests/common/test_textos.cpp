// The texts this program adds are written in correct Spanish: every text in
// the sources is read and each word is checked against the system's Spanish
// word list (wspanish), so a word that lacks its accent fails. The window's
// own given texts are kept character for character, accents or not.
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

namespace {

// Texts given with the window, as given: left out of the check.
const QStringList kTextosDados = {
    "Pon la descripcion que quieres que identifique al Cd a catalogar",
    "Una vez hemos metido el CD, vamos a sacar la informacion.",
    "Graba la informacion extraida en la BD",
    "Lo analizara para extraer la informacion de autor/disco/cancion/posicion y una vez que ",
    "haya acabado nos dejara pulsar al boton <Grabar> para añadir estos datos a la Base de ",
    "Serial      : Numero de serie del CD ",
    "Descripcion : Informacion para identificar el CD y es obligatoria ",
    "Según estas mascaras trataremos los nombres de los ficheros para extraer",
    "los datos de (a)utor, (d)isco, (c)ancion y (p)osicion. La (x) marca lo no significativo",
    "Dover(Devil come to me)\\\\Judas.mp3  --> mascara aplicable  a(d)\\\\c ",
    "Dover\\\\Devil come to me\\\\Judas.mp3   --> mascara aplicable  a\\\\d\\\\c ",
    "Dover\\\\Devil come to me-Judas.mp3   --> mascara aplicable  a\\\\d-c ",
    "-Salida. Nombre del fichero de salida con extension, solo graba en formato HTML",
    "Opcion no implementada, jet ",
    "numero de discos no tratable con autorun maximo 16: ",
    "Arbol que nos muestra la exploracion",
    "Grabar en los ficheros MP3 la informacion obtenida en forma de tag's. Solo la grabara en caso de que no la ",
    "Generar el fichero Autorun.dat que junto con Vistel podemos poner en el CD para la presentacion de los ",
    "contenidos con caratulas.",
    "Selecciona y arrastra las capetas o ficheros aqui.",
    "Analiza el nombre del fichero para darnos Autor/disco/Cancion/Posicion",
    "Analiza los ficheros de la lista para decirnos si estan en la base de datos",
    "Nos hace el arbol por Autor/disco",
    "Escoger la mejor decodificacion para...",
    "Has de selecionar una mascara correcta. Si no pulsa cancelar y dala de alta",
    "Mascaras que tenemos dadas de alta",
    "Mascara a añadir",
    "Añadir mascara",
    "Arbol que nos muestra la BD",
    "Arbol por CD's",
    "Arbol por Autores",
    "Arbol por Discos",
    "Informacion de la Base de Datos",
};

// Texts that are not Spanish: option names, tag names, the engine's words.
const QStringList kNoSonTextos = {
    "-v, --version",
    "ALBUM ARTIST",
    "permission denied",
};

// Forms a list of lemmas leaves out (conjugations, adverbs, the program's own
// nouns), all with their accents: adding one can only make the check stricter.
const char* const kConAcento =
    "está están estás más también aquí allí ahí después además través según ningún algún sí qué cómo dónde "
    "cuándo cuál quién análisis catálogo página título número música último código válido será serán podrá "
    "podrán habrá había tenía sería todavía así";

class Diccionario {
public:
    explicit Diccionario(const QString& fichero)
    {
        QFile f(fichero);
        if (f.open(QIODevice::ReadOnly))
            for (const QByteArray& linea : f.readAll().split('\n'))
                if (!linea.trimmed().isEmpty())
                    palabras_.insert(QString::fromUtf8(linea.trimmed()).toLower());
        for (const QString& p : QString::fromUtf8(kConAcento).split(' '))
            palabras_.insert(p);
    }
    bool vacio() const { return palabras_.isEmpty(); }

    // A word that is not in the list but would be with one accent more, or
    // ends like "-cion" without one.
    bool FaltaAcento(const QString& palabra) const
    {
        const QString p = palabra.toLower();
        if (conocida(p))
            return false;
        if (p.endsWith(u"cion") || p.endsWith(u"sion"))
            return true;
        static const QString llanas = QStringLiteral("aeiou"), agudas = QStringLiteral("áéíóú");
        for (qsizetype i = 0; i < p.size(); ++i) {
            const qsizetype v = llanas.indexOf(p[i]);
            if (v >= 0 && conocida(QString(p).replace(i, 1, agudas[v])))
                return true;
        }
        return false;
    }

private:
    bool conocida(const QString& p) const
    {
        // The list holds singulars: "canciones" is known through "canción".
        return palabras_.contains(p) || (p.endsWith(u's') && palabras_.contains(p.chopped(1))) ||
               (p.endsWith(u"es") && palabras_.contains(p.chopped(2))) ||
               (p.endsWith(u"ones") && palabras_.contains(p.chopped(4) + QStringLiteral("ón")));
    }
    QSet<QString> palabras_;
};

}  // namespace

class TestTextos : public QObject {
    Q_OBJECT
private slots:
    void textosConSusAcentos();
};

void TestTextos::textosConSusAcentos()
{
    const Diccionario diccionario(QStringLiteral("/usr/share/dict/spanish"));
    if (diccionario.vacio())
        QSKIP("no Spanish word list (wspanish): scripts/setup.sh --pruebas installs it");
    // A literal that reads as a sentence: it has a space and is no statement
    // for the catalogue.
    static const QRegularExpression literal(QString::fromLatin1("\"((?:[^\"\\\\\\n]|\\\\.)*)\""));
    static const QRegularExpression sql(
        QString::fromLatin1("\\b(select|insert|update|delete|create|from|where|join|as|drop|index|order by|pragma|values|integer|"
                            "bigint|text|primary|function|on)\\b|\\w_\\w|\\b[a-z]\\.[a-z]"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression palabra(QString::fromLatin1("[^\\W\\d_]+"),
                                            QRegularExpression::UseUnicodePropertiesOption);
    QStringList faltan;
    int leidos = 0;
    QDirIterator it(QStringLiteral(LODRIN_FUENTES), {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        QVERIFY(f.open(QIODevice::ReadOnly));
        int n = 0;
        for (const QByteArray& bytes : f.readAll().split('\n')) {
            ++n;
            const QString linea = QString::fromUtf8(bytes).trimmed();
            if (linea.startsWith(u"//") || linea.startsWith(u"#include"))
                continue;
            for (const QRegularExpressionMatch& m : literal.globalMatch(linea)) {
                const QString texto = m.captured(1);
                if (!texto.trimmed().contains(u' ') || sql.match(texto).hasMatch() || kTextosDados.contains(texto) ||
                    kNoSonTextos.contains(texto))
                    continue;
                ++leidos;
                // A section of the configuration file is a name, not a word.
                const QString sinClaves = QString(texto).remove(QRegularExpression(QString::fromLatin1("\\[\\w+\\]")));
                for (const QRegularExpressionMatch& p : palabra.globalMatch(sinClaves))
                    if (diccionario.FaltaAcento(p.captured()))
                        faltan << QStringLiteral("%1:%2: «%3» en \"%4\"")
                                      .arg(it.filePath().mid(qsizetype(strlen(LODRIN_FUENTES)) + 1))
                                      .arg(n)
                                      .arg(p.captured(), texto);
            }
        }
    }
    QVERIFY2(leidos > 300, qPrintable(QString::number(leidos)));
    for (const QString& f : faltan)
        qWarning("%s", qPrintable(f));
    QVERIFY2(faltan.isEmpty(), qPrintable(QStringLiteral("%1 palabras sin su acento").arg(faltan.size())));
}

QTEST_GUILESS_MAIN(TestTextos)
#include "test_textos.moc"
