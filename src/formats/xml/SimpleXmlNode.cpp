#include "formats/xml/SimpleXmlNode.h"

#include "platform/Wtoi.h"

int CZRSimpleXmlNode::number() const { return kor::wtoi(text_.c_str()); }
