#pragma once

class CatalogueConnection;

// Groups a long run of statements (deleting a thousand rows, say) into a few
// transactions: each commit waits for the disk, so one per statement makes
// the run crawl. What is done so far is committed when the batch ends, also
// when an error ends the run early, so rows already deleted stay deleted.
class CatalogueBatch
{
public:
    // Connects again if needed and begins; raises AppError when it cannot.
    CatalogueBatch(CatalogueConnection &connection, int statementsPerCommit);
    ~CatalogueBatch();
    CatalogueBatch(const CatalogueBatch &) = delete;
    CatalogueBatch &operator=(const CatalogueBatch &) = delete;

    // Counts one statement; commits and begins again after every statementsPerCommit.
    void statementDone();

private:
    void begin();
    void commit();

    CatalogueConnection &connection_;
    int statementsPerCommit_;
    int statementsSinceCommit_ = 0;
};
