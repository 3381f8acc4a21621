#include "search/esquema_busqueda.h"

#include "store/catalogo.h"

namespace {

// tlbusca holds the folded text; the full-text table indexes it without a
// copy of its own, by trigrams, so any piece of a word of three letters or
// more is found through the index. The program folds case and accents
// itself (the tokenizer of this engine's version cannot strip accents), so
// the tokenizer compares as written.
//
// Triggers mark a song whose text may have changed, whoever wrote it; the
// store puts marked songs in the index before each operation commits, and on
// opening a file that other programs wrote. They use nothing but the
// engine's own SQL, so the engine's tool can still write the file.
const char* const kIndice[] = {
    "CREATE TABLE tlbusca (idcancion INTEGER PRIMARY KEY, dsbusca TEXT NOT NULL)",
    "CREATE TABLE tlbusca_pendiente (idcancion INTEGER PRIMARY KEY)",
    "CREATE VIRTUAL TABLE tlbusca_fts USING fts5(dsbusca, content='tlbusca', content_rowid='idcancion',"
    " tokenize='trigram case_sensitive 1')",
    "CREATE TRIGGER tlbusca_ai AFTER INSERT ON tlbusca BEGIN"
    " INSERT INTO tlbusca_fts (rowid, dsbusca) VALUES (new.idcancion, new.dsbusca); END",
    "CREATE TRIGGER tlbusca_ad AFTER DELETE ON tlbusca BEGIN"
    " INSERT INTO tlbusca_fts (tlbusca_fts, rowid, dsbusca) VALUES ('delete', old.idcancion, old.dsbusca); END",
    "CREATE TRIGGER tlbusca_au AFTER UPDATE ON tlbusca BEGIN"
    " INSERT INTO tlbusca_fts (tlbusca_fts, rowid, dsbusca) VALUES ('delete', old.idcancion, old.dsbusca);"
    " INSERT INTO tlbusca_fts (rowid, dsbusca) VALUES (new.idcancion, new.dsbusca); END",
    "CREATE TRIGGER tlbusca_cancion_ai AFTER INSERT ON tlcancion BEGIN"
    " INSERT OR IGNORE INTO tlbusca_pendiente VALUES (new.idcancion); END",
    "CREATE TRIGGER tlbusca_cancion_au AFTER UPDATE OF idcancion, dscancion, cdcd, cddisco, cdautor ON tlcancion BEGIN"
    " DELETE FROM tlbusca WHERE idcancion = old.idcancion AND old.idcancion <> new.idcancion;"
    " INSERT OR IGNORE INTO tlbusca_pendiente VALUES (new.idcancion); END",
    "CREATE TRIGGER tlbusca_cancion_ad AFTER DELETE ON tlcancion BEGIN"
    " DELETE FROM tlbusca WHERE idcancion = old.idcancion;"
    " DELETE FROM tlbusca_pendiente WHERE idcancion = old.idcancion; END",
    // The program never renames or removes an author, disc or CD; another
    // tool may.
    "CREATE TRIGGER tlbusca_autor_au AFTER UPDATE OF idautor, dsautor ON tlautor BEGIN"
    " INSERT OR IGNORE INTO tlbusca_pendiente SELECT idcancion FROM tlcancion"
    " WHERE cdautor IN (old.idautor, new.idautor); END",
    "CREATE TRIGGER tlbusca_autor_ad AFTER DELETE ON tlautor BEGIN"
    " INSERT OR IGNORE INTO tlbusca_pendiente SELECT idcancion FROM tlcancion WHERE cdautor = old.idautor; END",
    "CREATE TRIGGER tlbusca_disco_au AFTER UPDATE OF iddisco, dsdisco ON tldisco BEGIN"
    " INSERT OR IGNORE INTO tlbusca_pendiente SELECT idcancion FROM tlcancion"
    " WHERE cddisco IN (old.iddisco, new.iddisco); END",
    "CREATE TRIGGER tlbusca_disco_ad AFTER DELETE ON tldisco BEGIN"
    " INSERT OR IGNORE INTO tlbusca_pendiente SELECT idcancion FROM tlcancion WHERE cddisco = old.iddisco; END",
    "CREATE TRIGGER tlbusca_cd_au AFTER UPDATE OF idcd, dscd ON tlcd BEGIN"
    " INSERT OR IGNORE INTO tlbusca_pendiente SELECT idcancion FROM tlcancion WHERE cdcd IN (old.idcd, new.idcd); END",
    "CREATE TRIGGER tlbusca_cd_ad AFTER DELETE ON tlcd BEGIN"
    " INSERT OR IGNORE INTO tlbusca_pendiente SELECT idcancion FROM tlcancion WHERE cdcd = old.idcd; END",
    "INSERT INTO tlbusca_pendiente SELECT idcancion FROM tlcancion",
};

}  // namespace

namespace esquema_busqueda {

bool HayIndice(Catalogo& bd)
{
    return bd.PrimerEntero(QStringLiteral("select count(*) from sqlite_master where type = 'table' and"
                                          " name in ('tlbusca', 'tlbusca_pendiente', 'tlbusca_fts')"),
                           {}) == 3;
}

void CreaIndice(Catalogo& bd)
{
    for (const char* s : kIndice)
        bd.Ejecuta(QString::fromLatin1(s));
}

bool HayPendientes(Catalogo& bd)
{
    return bd.PrimerEntero(QStringLiteral("select exists (select 1 from tlbusca_pendiente)"), {}) != 0;
}

void PreparaTextosNuevos(Catalogo& bd)
{
    bd.Ejecuta(QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS tlbusca_nuevo (idcancion INTEGER PRIMARY KEY, dsbusca TEXT)"));
    bd.Ejecuta(QStringLiteral("DELETE FROM temp.tlbusca_nuevo"));
}

QString GuardaTextoNuevo() { return QStringLiteral("INSERT INTO temp.tlbusca_nuevo (idcancion, dsbusca) VALUES (?, ?)"); }

void PasaTextosNuevos(Catalogo& bd)
{
    // "WHERE true" tells the engine the ON CONFLICT belongs to the insert.
    bd.Ejecuta(QStringLiteral("INSERT INTO tlbusca (idcancion, dsbusca) SELECT idcancion, dsbusca FROM temp.tlbusca_nuevo"
                              " WHERE true ON CONFLICT (idcancion) DO UPDATE SET dsbusca = excluded.dsbusca"));
    bd.Ejecuta(QStringLiteral("DELETE FROM temp.tlbusca_nuevo"));
}

QString CancionesConPalabras(const QStringList& palabras, QVariantList& valores, bool leyendoTodas)
{
    // Every word of three characters or more is a phrase of the full-text
    // query, written literally between double quotes; the index steps
    // through all of them together. Shorter words are looked for in the
    // texts the index gives, or in every text when all words are short.
    // Characters count, not UTF-16 units.
    QStringList frases;
    QStringList cortas;
    for (const QString& p : palabras) {
        if (leyendoTodas || p.toUcs4().size() < 3)
            cortas << p;
        else
            frases << QLatin1Char('"') + QString(p).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
    }
    QString sql;
    if (!frases.isEmpty()) {
        sql = QStringLiteral("(select t.rowid as idcancion from tlbusca_fts t where tlbusca_fts match ?");
        valores << frases.join(QLatin1Char(' '));
    } else {
        sql = QStringLiteral("(select idcancion from tlbusca t where 1");
    }
    for (const QString& p : cortas) {
        sql += QStringLiteral(" and instr(t.dsbusca, ?) > 0");
        valores << p;
    }
    return sql + QStringLiteral(") b");
}

}  // namespace esquema_busqueda
