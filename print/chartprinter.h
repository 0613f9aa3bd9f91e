#pragma once

class QPainter;
class QPrinter;
class QWidget;

// The printing library's steps that the tests take one by one.

// The number of copies chosen in the print dialog; the printer is left making one of
// each page, one-sided, since every copy is printed as a page of its own.
int takeCopies(QPrinter &printer);

// Draws the client area as it looks now onto the painter's page, text as text: at the
// physical size it has on screen, top-left (shrunk only where the page is too small),
// or, with `fitToPage`, scaled to fill the page and centred.
void paintChart(QPainter &painter, QWidget *client, bool fitToPage);
