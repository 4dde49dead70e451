#pragma once

#include <QString>

class QWidget;

// What the address toolbar shows of the address bar: its holder (the field), the search engine
// its Search button pictures, and whether the field holds text (Go is enabled then).
class AddressBand
{
public:
    virtual QWidget *holder() const = 0;
    virtual int searchEngine() const = 0;
    virtual QString addressText() const = 0;

protected:
    ~AddressBand() = default;
};
