-- Tables that hold the user's own rows. They are created when missing and never dropped,
-- so a program upgrade keeps accounts, records and settings.

CREATE TABLE IF NOT EXISTS account_infos (
    account TEXT NOT NULL,
    password TEXT NOT NULL,
    device TEXT NOT NULL,
    permission TEXT NOT NULL
);

CREATE TABLE IF NOT EXISTS alarm_records (
    id INTEGER,
    number TEXT,
    time TEXT
);

CREATE TABLE IF NOT EXISTS workRecords_sdriver (
    id INTEGER,
    task TEXT,
    turns TEXT,
    torque TEXT,
    usedTime TEXT,
    status TEXT,
    time TEXT,
    alarm TEXT,
    description TEXT
);

CREATE TABLE IF NOT EXISTS keyvalue_table (key TEXT PRIMARY KEY NOT NULL, value TEXT);
CREATE TABLE IF NOT EXISTS oscill_configs (key TEXT PRIMARY KEY NOT NULL, value TEXT);
CREATE TABLE IF NOT EXISTS devcom_configs (key TEXT PRIMARY KEY NOT NULL, value TEXT);
CREATE TABLE IF NOT EXISTS serial_configs (key TEXT PRIMARY KEY NOT NULL, value TEXT);
CREATE TABLE IF NOT EXISTS network_configs (key TEXT PRIMARY KEY NOT NULL, value TEXT);
CREATE TABLE IF NOT EXISTS compatibility (key TEXT PRIMARY KEY NOT NULL, value TEXT);
CREATE TABLE IF NOT EXISTS config_params (key TEXT PRIMARY KEY NOT NULL, value TEXT);
