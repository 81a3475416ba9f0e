#pragma once

#include <QTextDocument>

// A diary as years of use leave it: paragraphs of prose with bold, italic and underlined
// words, now and then a line in Greek or Cyrillic, in colour, or centred or right
// aligned. Deterministic, so that every run measures the same document.
void fillSampleDocument(QTextDocument &document, qsizetype characters);
