<CurvanaSlides>
<CurvanaDocument a="1"><!-- first --><Memory><FunctionObj><Exp><![CDATA[x^2]]></Exp></FunctionObj></Memory></CurvanaDocument>
<Other/>
<CurvanaDocument><Coordinate><XInterval><Min>-1</Min><Max>1</Max></XInterval></Coordinate><?pi x?></CurvanaDocument>
</CurvanaSlides>
