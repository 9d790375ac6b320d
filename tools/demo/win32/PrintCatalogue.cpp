// Prints the launcher's product table as JSON for the Windows demo content (make_demo.py --catalogue), as the Linux
// demo product does with --demo-catalogue.
#include "DemoCatalogue.h"

#include <QJsonDocument>
#include <cstdio>

int main()
{
    std::fputs(QJsonDocument(quorvel::demo::catalogueAsJson()).toJson().constData(), stdout);
    return 0;
}
