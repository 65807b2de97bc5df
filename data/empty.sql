-- A database of the installation that the designer does not read itself.
CREATE TABLE ZN7TInfo (
    InfoKey TEXT PRIMARY KEY NOT NULL,
    InfoValue TEXT NOT NULL
);
INSERT INTO ZN7TInfo (InfoKey, InfoValue) VALUES ('created-by', 'sample installation');
