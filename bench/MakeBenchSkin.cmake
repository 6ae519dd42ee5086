# Writes the skin window benchmark's main.xml to OUT: an 800 x 600 window of
# exactly 200 controls in nested layouts (header, navigation column of
# options, 27 rows of label, progress bar, button, marked-up label and icon,
# footer) with three fonts, images and default attribute lists.
# Run as: cmake -DOUT=<file> -P MakeBenchSkin.cmake
set(xml "<?xml version=\"1.0\" encoding=\"utf-8\"?>
<Window size=\"800,600\" caption=\"0,0,0,40\" mininfo=\"600,400\" linkfontcolor=\"#FF0050C0\">
  <Font id=\"0\" name=\"Tahoma\" size=\"12\" default=\"true\"/>
  <Font id=\"1\" name=\"Tahoma\" size=\"16\" bold=\"true\"/>
  <Font id=\"2\" name=\"Arial\" size=\"11\" italic=\"true\"/>
  <Image name=\"bk/header.png\"/>
  <Default name=\"Button\" value=\"normalimage=&quot;file='btn/normal.png' corner='4,4,4,4'&quot; hotimage=&quot;file='btn/hot.png' corner='4,4,4,4'&quot; pushedimage=&quot;file='btn/pushed.png' corner='4,4,4,4'&quot; textcolor=&quot;#FFFFFFFF&quot;\"/>
  <Default name=\"Progress\" value=\"bkcolor=&quot;#FFDDDDDD&quot; foreimage=&quot;img/fill.png&quot;\"/>
  <Default name=\"Option\" value=\"height=&quot;18&quot; group=&quot;nav&quot; selectedbkcolor=&quot;#FFB0C0E0&quot; align=&quot;left&quot; textpadding=&quot;6,0,0,0&quot;\"/>
  <VerticalLayout name=\"root\" bkcolor=\"#FFF4F4F4\">
    <HorizontalLayout name=\"header\" height=\"40\" bkimage=\"bk/header.png\" inset=\"6,6,6,6\" childpadding=\"6\">
      <Control name=\"logo\" width=\"28\" bkimage=\"img/icon.png\"/>
      <Label name=\"title\" font=\"1\" text=\"Skin window benchmark\" textcolor=\"#FFFFFFFF\"/>
      <Button name=\"help\" width=\"60\" text=\"Help\"/>
      <Button name=\"minimise\" width=\"28\" text=\"_\"/>
      <Button name=\"close\" width=\"28\" text=\"X\"/>
    </HorizontalLayout>
    <HorizontalLayout name=\"body\" inset=\"8,8,8,8\" childpadding=\"8\">
      <VerticalLayout name=\"nav\" width=\"150\" bkcolor=\"#FFD0D8E8\" inset=\"4,4,4,4\" childpadding=\"2\">
")
foreach(i RANGE 1 24)
  string(APPEND xml "        <Option name=\"nav${i}\" text=\"Section ${i}\"/>\n")
endforeach()
string(APPEND xml "      </VerticalLayout>
      <VerticalLayout name=\"main\" bkcolor=\"#FFFFFFFF\" inset=\"6,4,6,4\" childpadding=\"0\">
")
foreach(i RANGE 1 27)
  math(EXPR value "(${i} * 37) % 101")
  string(APPEND xml "        <HorizontalLayout name=\"row${i}\" height=\"18\" childpadding=\"6\" childvalign=\"vcenter\">
          <Control name=\"icon${i}\" width=\"16\" height=\"16\" bkimage=\"img/icon.png\"/>
          <Label name=\"file${i}\" width=\"150\" text=\"C:\\Program Files\\velko\\data\\pack_${i}.bin\" endellipsis=\"true\"/>
          <Progress name=\"bar${i}\" width=\"120\" height=\"12\" value=\"${value}\"/>
          <Label name=\"state${i}\" showhtml=\"true\" text=\"&lt;b&gt;${value}%&lt;/b&gt; of &lt;a more${i}&gt;pack ${i}&lt;/a&gt; &lt;c #008000&gt;ok&lt;/c&gt;\"/>
          <Button name=\"skip${i}\" width=\"60\" text=\"Skip\"/>
        </HorizontalLayout>
")
endforeach()
string(APPEND xml "      </VerticalLayout>
    </HorizontalLayout>
    <HorizontalLayout name=\"footer\" height=\"40\" bkcolor=\"#FFE0E0E0\" inset=\"8,6,8,6\" childpadding=\"8\">
      <Label name=\"status\" font=\"2\" text=\"Ready\"/>
      <Button name=\"ok\" width=\"90\" text=\"Uninstall\"/>
      <Button name=\"cancel\" width=\"90\" text=\"Keep\"/>
    </HorizontalLayout>
  </VerticalLayout>
</Window>
")
file(WRITE ${OUT} "${xml}")
