-- The question bank, TOV2SF.MDB: one table per language of the on-screen test, in the order the
-- language screen offers them, and the answer-sheet geometry. Rows are read in stored order.
CREATE TABLE English (
  ID INTEGER,
  TestQuestion TEXT,
  QuestionAudio TEXT,
  ANSWER1 TEXT, ANSWER2 TEXT, ANSWER3 TEXT, ANSWER4 TEXT, ANSWER5 TEXT,
  ChoiceAudio1 TEXT, ChoiceAudio2 TEXT, ChoiceAudio3 TEXT, ChoiceAudio4 TEXT, ChoiceAudio5 TEXT
);
CREATE TABLE Spanish (
  ID INTEGER,
  TestQuestion TEXT,
  QuestionAudio TEXT,
  ANSWER1 TEXT, ANSWER2 TEXT, ANSWER3 TEXT, ANSWER4 TEXT, ANSWER5 TEXT,
  ChoiceAudio1 TEXT, ChoiceAudio2 TEXT, ChoiceAudio3 TEXT, ChoiceAudio4 TEXT, ChoiceAudio5 TEXT
);
CREATE TABLE ScanItem (
  r REAL,
  theta REAL,
  DimX INTEGER,
  dx REAL,
  DimY INTEGER,
  dy REAL,
  X INTEGER,
  y INTEGER,
  LocationName TEXT
);
