#pragma once

#include "maker/httpsserver.h"

#include <QString>

// Serves the files of one folder, read-only: the maker's service is a folder of signed
// files ("v1/catalog", feeds, archives, images) on any static host.
class StaticSite
{
public:
    explicit StaticSite(QString root);

    HttpResponse operator()(const HttpRequest &request) const;

private:
    QString m_root;
};
